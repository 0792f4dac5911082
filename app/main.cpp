// The Tondrela program. Started from anywhere, it works in its own folder, so that the
// picture, help and sound folders resolve beside it. The recordings go to "../work" in a
// portable tree, else to the per-user folder (platform/RecordingsFolder.h).
//
//   tondrela                    the sensor on USB
//   tondrela --simulate         a simulated sensor with a synthetic pulse
//   tondrela --simulate=FILE    a simulated sensor replaying a .csv or .ppg recording
//   --language=ko|en|ja|zh      the first language (English without it)
//   --trace[=FILE]              the diagnostic trace to standard error, or to FILE

#include "analysis/RecordingFile.h"
#include "analysis/Trace.h"
#include "app/StartOptions.h"
#include "app/Tondrela.h"
#include "app/TondrelaDlg.h"
#include "device/HidPlatform.h"
#include "device/SensorLink.h"
#include "platform/FileSync.h"
#include "platform/RecordingsFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

bool HasValue(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// A display server, or a platform chosen explicitly.
bool HasDisplay(int argc, char** argv) {
    if (HasValue("DISPLAY") || HasValue("WAYLAND_DISPLAY") || HasValue("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    }
    return false;
}

void PrintUsage(std::FILE* out) {
    std::fputs(
        "usage: tondrela [--simulate | --simulate=FILE] [--language=ko|en|ja|zh]\n"
        "                [--trace[=FILE]]\n"
        "  --simulate        use a simulated sensor with a synthetic pulse\n"
        "  --simulate=FILE   use a simulated sensor replaying a .csv or .ppg recording\n"
        "  --language=CODE   start in Korean (ko), English (en, the default), Japanese (ja)\n"
        "                    or Chinese (zh)\n"
        "  --trace[=FILE]    write the diagnostic trace to standard error, or to FILE\n",
        out);
}

} // namespace

int main(int argc, char** argv) {
    if (!HasDisplay(argc, argv)) {
        std::fputs("Tondrela needs a graphical display; none was found (DISPLAY is not set).\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setApplicationDisplayName(QStringLiteral("Tondrela"));

    StartOptions options;
    if (!ParseStartOptions(QApplication::arguments(), &options)) {
        PrintUsage(stderr);
        return 2;
    }
    if (options.help) {
        PrintUsage(stdout);
        return 0;
    }
    // Files named on the command line are found from the folder the program was started in,
    // so resolve them before changing folder.
    const std::string traceFile =
        options.traceFile.isEmpty()
            ? std::string()
            : QFile::encodeName(QFileInfo(options.traceFile).absoluteFilePath()).toStdString();
    if (options.trace && !TraceTo(traceFile)) {
        std::fprintf(stderr, "tondrela: cannot write the trace to %s\n", traceFile.c_str());
        return 2;
    }
    std::string& platformOption = options.platform;
    if (!platformOption.empty() && platformOption != "synthetic")
        platformOption =
            QFileInfo(QString::fromStdString(platformOption)).absoluteFilePath().toStdString();

    SetFileSync(&SyncToDisk); // a saved recording survives a power cut, not only a crash
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    const std::filesystem::path recordings =
        RecordingsFolder(QCoreApplication::applicationDirPath().toStdU16String());
    if (recordings.empty()) {
        std::fputs("tondrela: cannot create the folder for the recordings (is HOME set?)\n",
                   stderr);
        return 1;
    }
    RemoveStaleTemporaryFiles(recordings.string());

    std::string error;
    std::unique_ptr<HidPlatform> platform = MakeHidPlatform(platformOption, 1.0, &error);
    if (!platform) {
        std::fprintf(stderr, "tondrela: %s\n", error.c_str());
        return 2;
    }

    CTondrelaApp& app = TheApp();
    app.SetLink(std::make_unique<SensorLink>(std::move(platform)));
    const QScreen* screen = QGuiApplication::primaryScreen();
    app.InitInstance(screen ? screen->geometry().size() : QSize(1600, 1000), QDir::currentPath());
    app.recordingsFolder = QString::fromStdU16String(recordings.u16string());

    int result = 0;
    {
        CTondrelaDlg host;
        QObject::connect(&host, &QDialog::finished, &application, &QCoreApplication::quit);
        host.Start(options.language);
        result = QApplication::exec();
    }
    // The windows are gone; now the link may stop its notifications and close the sensor.
    app.SetLink(nullptr);
    return result;
}
