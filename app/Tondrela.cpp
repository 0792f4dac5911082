#include "app/Tondrela.h"

#include "device/SensorLink.h"

CTondrelaApp::CTondrelaApp() = default;
CTondrelaApp::~CTondrelaApp() = default;

FontSizes ComputeFontSizes(int screenWidth, int screenHeight) {
    const double scaleX = static_cast<double>(screenWidth) / CTondrelaApp::kDesignWidth;
    FontSizes sizes;
    sizes.titleFontSize = static_cast<int>(scaleX * 30);
    if (screenHeight > 700) {
        sizes.textFontSize = 16;
        sizes.largeTextFontSize = 20;
        sizes.smallTextFontSize = 14;
        sizes.smallestFontSize = 12;
    } else {
        sizes.textFontSize = static_cast<int>(scaleX * 20);
        sizes.largeTextFontSize = static_cast<int>(scaleX * 28);
        sizes.smallTextFontSize = static_cast<int>(scaleX * 18);
        sizes.smallestFontSize = sizes.smallTextFontSize;
    }
    if (screenWidth == 1024 && screenHeight == 768) {
        sizes.textFontSize = 13;
        sizes.largeTextFontSize = 16;
        sizes.smallTextFontSize = 12;
        sizes.smallestFontSize = 11;
    }
    return sizes;
}

void CTondrelaApp::InitInstance(QSize screen, const QString& currentFolder) {
    screenSize = screen;
    scaleX = static_cast<double>(screen.width()) / kDesignWidth;
    scaleY = static_cast<double>(screen.height()) / kDesignHeight;
    fontSizes = ComputeFontSizes(screen.width(), screen.height());
    userLine.clear();
    workFolder = currentFolder;
}

QString CTondrelaApp::ResourcePath(const QString& folder, const QString& file) const {
    return QStringLiteral("%1/../%2/%3/%4")
        .arg(workFolder, folder, QString::number(languageIndex), file);
}

const LanguageTable& CTondrelaApp::CurrentTable() const {
    static const LanguageTable empty;
    if (languageIndex < 0 || languageIndex > 4 || !languageTables[languageIndex])
        return empty;
    return *languageTables[languageIndex];
}

void CTondrelaApp::RegisterLanguageTables() {
    languageTables[0] = nullptr;
    for (int index = 1; index <= 4; ++index)
        languageTables[index] = &BuiltInLanguageTable(index);
}

void CTondrelaApp::SetLink(std::unique_ptr<SensorLink> link) {
    m_link = std::move(link);
}

bool CTondrelaApp::SensorConnected() const {
    return m_link && m_link->SensorConnected();
}

bool CTondrelaApp::SensorInaccessible() const {
    return m_link && m_link->SensorInaccessible();
}

CTondrelaApp& TheApp() {
    static CTondrelaApp app;
    return app;
}

QString GetMessageText(int number) {
    return QString::fromStdString(GetMessageText(TheApp().messageList, number));
}

QString FormatUserLine(const UserRecord& user, int currentYear) {
    const QString sexText = GetMessageText(user.sex == 1 ? 30007 : 30008);
    const QString yearsText = GetMessageText(30005);
    return QStringLiteral("%1 / %2 / %3 %4")
        .arg(user.name, sexText, QString::number(currentYear - user.birthYear), yearsText);
}
