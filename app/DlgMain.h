#pragma once
// The main menu: fills the screen with its picture, opens the tests, the review, the user
// registration and the help windows, shows the sensor's connection state and the selected
// person, and switches the language with four small buttons in its top bar, each labelled in
// its own language. It starts in the language it is given (English unless the command line
// chose another) and lays its controls out from its own client area at every resize.
//
// The sensor link handles device changes on a platform thread and tells this window, which
// shows the new state on its own (GUI) thread. Quit (buttons 1004, 1006, or closing the
// window) posts childClosed(this) to the host, which ends the program.
// Threads: GUI thread only, apart from the notification hand-over.

#include "app/Tondrela.h"
#include "controls/BkDialog.h"

#include <QPointer>

#include <array>
#include <functional>
#include <string_view>

class CButtonST;
class CStaticEx;

class CDlgMain : public CBkDialog {
    Q_OBJECT
public:
    // The modeless windows, at most one of each kind.
    enum class Child { Usage, Manual, Review, Apg, Stress };
    static constexpr int kChildKinds = 5;
    using ChildFactory = std::function<CBkDialog*(QWidget* opener)>;
    using ModalRunner = std::function<int(QWidget* opener)>;

    // languageIndex: the language to start in (1 Korean, 2 English, 3 Japanese, 4 Chinese).
    explicit CDlgMain(QWidget* parent = nullptr,
                      int languageIndex = CTondrelaApp::kDefaultLanguage);
    ~CDlgMain() override;

    // Replaces how a window is made (tests put their own windows in).
    void SetChildFactory(Child kind, ChildFactory factory);
    void SetUserDialog(ModalRunner runner) { m_runUserDialog = std::move(runner); }
    void SetAboutDialog(ModalRunner runner) { m_runAboutDialog = std::move(runner); }
    QWidget* ChildWindow(Child kind) const;

    // Shows the current user's line in 1039 and keeps it as TheApp().userLine.
    void RefreshUserLine();
    // Shows the sensor link's state in 1038 (ShowSensorStatus).
    void ShowSensorState();

    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

    void Quit();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void ClientAreaChanged() override;

private:
    void CreateControls();
    // Places the controls from the layout table, scaled to the client area; the status line
    // then widens to its text as ShowSensorStatus does.
    void Relayout();
    void SkinControls();
    void ApplyLanguageToMenu();
    void StartSensorLink();
    void OnCommand(int id);
    // The language and the face of its controls, as its button sets them.
    void ChooseLanguage(int languageIndex);
    void OnLanguage(int languageIndex);
    bool RequireUser();
    void OpenChild(Child kind);
    void OnChildClosed(QWidget* child);

    std::array<ChildFactory, kChildKinds> m_factories;
    std::array<QPointer<CBkDialog>, kChildKinds> m_children;
    ModalRunner m_runUserDialog;
    ModalRunner m_runAboutDialog;
    bool m_shownOnce = false;
};
