#include "app/TondrelaDlg.h"

#include "app/ChildWindows.h"
#include "app/DlgMain.h"
#include "app/Tondrela.h"

CTondrelaDlg::CTondrelaDlg(QWidget* parent) : QDialog(parent) {}

CTondrelaDlg::~CTondrelaDlg() {
    delete m_main;
}

CDlgMain* CTondrelaDlg::MainMenu() const {
    return m_main;
}

void CTondrelaDlg::Start(int languageIndex) {
    if (m_main)
        return;
    m_main = new CDlgMain(this, languageIndex);
    connect(m_main, &CDlgMain::childClosed, this, &CTondrelaDlg::OnChildClosed,
            Qt::QueuedConnection);
    ShowFullScreenWindow(m_main);
    m_main->SetBackground(
        TheApp().ResourcePath(QStringLiteral("IMAGE"), QStringLiteral("main.jpg")));
    m_main->update();
}

void CTondrelaDlg::OnChildClosed(QWidget* child) {
    if (!m_main || child != m_main)
        return;
    m_main->deleteLater();
    m_main = nullptr;
    done(0);
}
