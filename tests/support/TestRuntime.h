#pragma once
// What the window tests share: a runtime tree of their own, the application in a chosen
// language, and message boxes caught instead of shown.

#include "app/Tondrela.h"
#include "controls/MessageBox.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// A temporary runtime tree: bin/ and work/ side by side, the staged pictures, help pages,
// banners and sounds linked in (all but the folders left out); the process works in its bin/
// while the object lives. The per-user config folder (XDG_CONFIG_HOME) is its config/
// meanwhile, so that no window under test reads the upload settings of the person running
// the tests.
class RuntimeFolder {
public:
    explicit RuntimeFolder(const QStringList& leftOut = {})
        : m_previous(QDir::currentPath()),
          m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
          m_previousConfig(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config()));
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("bin"));
        root.mkpath(QStringLiteral("work"));
        for (const char* folder : {"IMAGE", "HELP", "banner", "wav"}) {
            if (leftOut.contains(QLatin1String(folder)))
                continue;
            QFile::link(QStringLiteral(TONDRELA_STAGE_DIR "/") + QLatin1String(folder),
                        root.filePath(QLatin1String(folder)));
        }
        m_valid = m_dir.isValid() && QDir::setCurrent(root.filePath(QStringLiteral("bin")));
    }
    ~RuntimeFolder() {
        QDir::setCurrent(m_previous);
        if (!m_hadConfig)
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_previousConfig);
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    bool Valid() const { return m_valid; }
    QString Root() const { return m_dir.path(); }
    QString Work() const { return QDir(m_dir.path()).filePath(QStringLiteral("work")); }
    QString Config() const { return QDir(m_dir.path()).filePath(QStringLiteral("config")); }
    QStringList WorkFiles() const { return QDir(Work()).entryList(QDir::Files, QDir::Name); }

private:
    QString m_previous;
    bool m_hadConfig;
    QByteArray m_previousConfig;
    QTemporaryDir m_dir;
    bool m_valid = false;
};

// The language as the main menu sets it: its message list, the face of the controls ("돋움"
// for Korean, "Arial" otherwise) and the user line of the current user in it.
inline void UseLanguage(int languageIndex) {
    CTondrelaApp& app = TheApp();
    app.RegisterLanguageTables();
    app.languageIndex = languageIndex;
    app.fontFace = languageIndex == 1 ? QStringLiteral("돋움") : QStringLiteral("Arial");
    LoadMessageList(app.messageList, app.CurrentTable(), "Tondrela-message", true);
    app.userLine = app.CurrentUser.name.isEmpty()
                       ? QString()
                       : FormatUserLine(app.CurrentUser, QDate::currentDate().year());
}

// The message boxes shown while the object lives, each answered with `answer`.
class MessageCatcher {
public:
    MessageCatcher() {
        SetMessageBoxInterceptor([this](const QString& text, const QString&, auto) {
            messages.append(text);
            return answer;
        });
    }
    ~MessageCatcher() { SetMessageBoxInterceptor({}); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};
