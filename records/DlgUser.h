#pragma once
// The user registration window (modal): lists the known users, rebuilt from the recordings in
// the recordings folder (CTondrelaApp::recordingsFolder), lets the operator pick or type a user
// and sets the process-wide current user on OK. A right-click on a row offers to delete that
// user's recordings. The list and its column captions are shown and hidden together by the
// list toggle. OK takes only a birth year of exactly four digits from 1900 to the current
// year (message 40002 for anything but four digits, 40044 for a year out of that range).
//
// A relative recordings folder is resolved against the current directory (the program's
// folder); the window never changes the current directory.
// Threads: GUI thread only.

#include "controls/BkDialog.h"
#include "records/UserList.h"

#include <vector>

class CButtonST;
class CStaticEx;
class QAction;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTableWidget;

class CDlgUser : public CBkDialog {
    Q_OBJECT
public:
    static constexpr int kNameMaxLength = 31;
    static constexpr int kBirthYearMaxLength = 4;
    static constexpr int kPhoneMaxLength = 13;

    explicit CDlgUser(QWidget* parent = nullptr);

    // The records of the list's rows, in row order.
    const std::vector<CUserList>& Users() const { return m_users; }

    // Rebuilds the list from the working folder.
    void RebuildList();
    // Shows the list when it is hidden and hides it when it is shown.
    void ToggleList();
    // The fields become the current user (refused with a message box when the birth year or
    // the name cannot be used); the window then closes with OK.
    void OnOK();

    QTableWidget* List() const { return m_list; }
    QMenu* PopupMenu() const { return m_popup; }
    QAction* DeleteAction() const { return m_deleteAction; }
    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

private:
    void CreateControls();
    void SkinControls();
    void CreateColumns();
    // The list with its column captions, and the toggle's text to match.
    void ShowList(bool show);
    void OnSelectRow();
    void OnListContextMenu(const QPoint& position);
    void OnDeleteUser();
    // The record of the selected row, or nullptr.
    const CUserList* SelectedUser() const;

    std::vector<CUserList> m_users; // one per row
    QTableWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_birthYear = nullptr;
    QLineEdit* m_phone = nullptr;
    QRadioButton* m_male = nullptr;
    QRadioButton* m_female = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_deleteAction = nullptr;
};
