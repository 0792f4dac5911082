#pragma once
// The about box (modal): the product name, the maker's notice and the date of the last change
// over its picture, and the OK button ("Confirm"), which closes it.
// Threads: GUI thread only.

#include "controls/BkDialog.h"

class CButtonST;
class CStaticEx;

class CDlgAbout : public CBkDialog {
    Q_OBJECT
public:
    explicit CDlgAbout(QWidget* parent = nullptr);

    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

private:
    void FitStatics();
};
