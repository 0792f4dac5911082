#include "records/SendRecording.h"

#include "analysis/Trace.h"
#include "app/Tondrela.h"
#include "controls/MessageBox.h"
#include "records/DlgUpload.h"

#include <QString>

namespace {

constexpr int kQuestionMessage = 40009;
constexpr int kCannotConnectMessage = 40008;
constexpr int kNotStoredMessage = 40016;
constexpr int kStoredMessage = 40017;

// The settings of the operator's file; false (traced) when there are none to use.
bool LoadSettings(UploadSettings* settings) {
    std::string error;
    const SettingsStatus status = LoadUploadSettings(DefaultUploadSettingsPath(), settings, &error);
    if (status != SettingsStatus::Ok && status != SettingsStatus::NotFound)
        TRACE("upload: %s\n", error.c_str());
    return status == SettingsStatus::Ok;
}

void ShowOutcome(QWidget* parent, const QString& text) {
    ShowMessageBox(parent, text, QString(), QMessageBox::Ok, QMessageBox::Critical);
}

} // namespace

bool UploadConfigured() {
    UploadSettings settings;
    return LoadSettings(&settings);
}

void SendRecording(QWidget* parent, const QString& path) {
    if (ShowMessageBox(parent, GetMessageText(kQuestionMessage), QString(),
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    UploadSettings settings;
    if (!LoadSettings(&settings)) { // the file went away or broke since the window opened
        ShowOutcome(parent, GetMessageText(kCannotConnectMessage));
        return;
    }
    CDlgUpload progress(std::move(settings), path, parent);
    const UploadResult result = progress.Run();
    switch (result.status) {
    case UploadStatus::Stored:
        ShowOutcome(parent, path + QLatin1Char('\n') + GetMessageText(kStoredMessage));
        break;
    case UploadStatus::NotStored:
        ShowOutcome(parent, GetMessageText(kNotStoredMessage));
        break;
    case UploadStatus::CannotConnect:
        ShowOutcome(parent, GetMessageText(kCannotConnectMessage));
        break;
    }
}
