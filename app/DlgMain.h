#pragma once
// The main menu: fills the screen with its picture, opens the tests, the review, the user
// registration and the help windows, shows the sensor's connection state and the selected
// person, and switches the language.
//
// Device-change notifications of the sensor link arrive on a platform thread; they are posted
// to this window's (GUI) thread and handled there. Quit (buttons 1004, 1006, or closing the
// window) posts childClosed(this) to the host, which ends the program.
// Threads: GUI thread only, apart from the notification hand-over.

#include "controls/BkDialog.h"

#include <QPointer>

#include <array>
#include <functional>
#include <string_view>

class CButtonST;
class CStaticEx;
struct DeviceChange;

class CDlgMain : public CBkDialog {
    Q_OBJECT
public:
    // The modeless windows, at most one of each kind.
    enum class Child { Usage, Manual, Review, Apg, Stress };
    static constexpr int kChildKinds = 5;
    using ChildFactory = std::function<CBkDialog*(QWidget* opener)>;
    using ModalRunner = std::function<int(QWidget* opener)>;

    explicit CDlgMain(QWidget* parent = nullptr);
    ~CDlgMain() override;

    // Replaces how a window is made (tests put their own windows in).
    void SetChildFactory(Child kind, ChildFactory factory);
    void SetUserDialog(ModalRunner runner) { m_runUserDialog = std::move(runner); }
    void SetAboutDialog(ModalRunner runner) { m_runAboutDialog = std::move(runner); }
    QWidget* ChildWindow(Child kind) const;

    // Shows the current user's line in 1039 and keeps it as TheApp().userLine.
    void RefreshUserLine();
    // Shows the sensor link's state in 1038: 30002 in white, or 30001 in red.
    void ShowSensorState();
    // A device change, on the GUI thread: handed to the sensor link, then shown.
    void OnDeviceChange(const DeviceChange& change);

    CButtonST* Button(int id) const;
    CStaticEx* Static(int id) const;

    void Quit();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void SkinControls();
    void ApplyLanguageToMenu();
    void StartSensorLink();
    void OnCommand(int id);
    void OnLanguage(int languageIndex, const QString& face);
    bool RequireUser();
    void OpenChild(Child kind);
    void OnChildClosed(QWidget* child);

    std::array<ChildFactory, kChildKinds> m_factories;
    std::array<QPointer<CBkDialog>, kChildKinds> m_children;
    ModalRunner m_runUserDialog;
    ModalRunner m_runAboutDialog;
    bool m_shownOnce = false;
};
