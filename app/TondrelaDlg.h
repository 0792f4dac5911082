#pragma once
// The invisible host of the main menu. Start creates the main menu, shows it over the whole
// screen with its picture; when the main menu posts childClosed (Quit), the host releases it
// and ends (done(0), which emits finished(): the program then leaves its event loop).
// Threads: GUI thread only.

#include "app/Tondrela.h"

#include <QDialog>
#include <QPointer>

class CDlgMain;

class CTondrelaDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTondrelaDlg(QWidget* parent = nullptr);
    ~CTondrelaDlg() override;

    // languageIndex: the main menu's first language (1 Korean .. 4 Chinese).
    void Start(int languageIndex = CTondrelaApp::kDefaultLanguage);
    CDlgMain* MainMenu() const;

private:
    void OnChildClosed(QWidget* child);

    QPointer<CDlgMain> m_main;
};
