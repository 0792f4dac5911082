#pragma once
// The send button of the report windows: a recording goes to the upload server named in the
// operator's settings file (net/UploadSettings.h, at DefaultUploadSettingsPath()).
// Threads: GUI thread only.

class QString;
class QWidget;

// True when the settings file names a server; a report shows its send button only then.
// A file that exists but cannot be used is traced with the reason.
bool UploadConfigured();

// Asks with text 40009 (Yes/No); on Yes sends the file at `path` with the progress window
// (CDlgUpload) and tells the outcome with the stop icon: the path and text 40017 when it was
// stored; text 40016 when the server was reached but the file was not stored (also after a
// Cancel); text 40008 alone when the server could not be reached.
void SendRecording(QWidget* parent, const QString& path);
