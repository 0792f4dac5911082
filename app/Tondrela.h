#pragma once
// The application object: the process-wide state that every window reads. One per process,
// reached through TheApp().
//
// Threads: everything here belongs to the GUI thread, except the sensor link, whose own
// header says which of its operations other threads may call (the acquisition threads read
// its connection state and exchange reports through it).

#include "lang/LanguageTable.h"
#include "lang/MessageList.h"

#include <QDateTime>
#include <QSize>
#include <QString>

#include <memory>

class SensorLink;

// The selected person; an empty name means that nobody is chosen.
struct UserRecord {
    QString name;
    int birthYear = 0;
    int sex = 1; // 1 male, 2 female
    QString phone;
};

// Pixel sizes of the skinned controls' fonts.
struct FontSizes {
    int titleFontSize = 0;
    int textFontSize = 0;
    int largeTextFontSize = 0;
    int smallTextFontSize = 0;
    int smallestFontSize = 0;
};

// Font sizes for a screen of width x height pixels (each a truncated product).
FontSizes ComputeFontSizes(int screenWidth, int screenHeight);

class CTondrelaApp {
public:
    static constexpr int kDesignWidth = 1600;
    static constexpr int kDesignHeight = 1000;
    static constexpr int kDefaultLanguage = 2; // English

    CTondrelaApp();
    ~CTondrelaApp();
    CTondrelaApp(const CTondrelaApp&) = delete;
    CTondrelaApp& operator=(const CTondrelaApp&) = delete;

    // Start-up: screen scale and font sizes, userLine "", workFolder.
    void InitInstance(QSize screen, const QString& currentFolder);

    // "%s/../%s/%d/%s" with workFolder, folder ("IMAGE", "HELP", "banner"), languageIndex and
    // file.
    QString ResourcePath(const QString& folder, const QString& file) const;

    // The table of the current language (an empty one when none is registered).
    const LanguageTable& CurrentTable() const;
    // Registers the four built-in tables as entries 1 to 4; entry 0 stays empty.
    void RegisterLanguageTables();

    // The sensor link (nullptr until the program gives it one: then no sensor is connected).
    SensorLink* Link() const { return m_link.get(); }
    void SetLink(std::unique_ptr<SensorLink> link);
    bool SensorConnected() const;
    // The sensor is present but cannot be opened (on Linux: the udev rule is missing).
    bool SensorInaccessible() const;

    int languageIndex = kDefaultLanguage;
    const LanguageTable* languageTables[5] = {}; // entry k: the table of language k
    MessageList messageList;                     // message section of the current language
    QString workFolder;
    // Where recordings are saved and listed: "work" beside the program's folder in a portable
    // tree, else the per-user folder (platform/RecordingsFolder.h). Set at start-up.
    QString recordingsFolder = QStringLiteral("../work");
    QDateTime testStartTime;
    UserRecord CurrentUser;
    QString userLine;
    QString fontFace = QStringLiteral("Arial");
    FontSizes fontSizes;
    QSize screenSize;
    double scaleX = 1.0; // screen width / 1600
    double scaleY = 1.0; // screen height / 1000

private:
    std::unique_ptr<SensorLink> m_link;
};

CTondrelaApp& TheApp();

// The text of message `number` of the current language; "" when the list lacks it.
QString GetMessageText(int number);

// "%s / %s / %d %s": name, sex text (30007 for sex 1, else 30008), age (currentYear - birth
// year) and the years text 30005.
QString FormatUserLine(const UserRecord& user, int currentYear);
