#pragma once
// Where recordings are sent: the upload server and the operator's account on it, read from a
// settings file that the operator writes (the program holds no credentials of its own).
//
// The file has one `key = value` per line; blanks around key and value are ignored, a line
// whose first non-blank character is "#" is a comment (a "#" further on belongs to the
// value, so a password may hold one). Keys:
//   server    host name or address                         required
//   port      1..65535                                     21
//   user      account name                                 required
//   password  account password                             required
//   folder    remote folder below the login directory      /varnholt/Tondrela_Data
//   mode      active | passive (data connection)           active
//   tls       try | require | off                          try
//   verify    yes | no (check the server's certificate)    yes
//   cafile    certificates to check the server against     the system's
// The password is never part of an error text.
// Threads: plain functions on the caller's data; any thread.

#include <string>

enum class DataMode { Active, Passive };

enum class TlsUse {
    Try,     // explicit TLS when the server offers it
    Require, // no transfer without TLS
    Off,     // plain FTP only
};

struct UploadSettings {
    std::string server;
    int port = 21;
    std::string user;
    std::string password;
    std::string folder = "/varnholt/Tondrela_Data";
    DataMode mode = DataMode::Active;
    TlsUse tls = TlsUse::Try;
    bool verify = true;
    std::string caFile; // "" = the system's certificate store
};

enum class SettingsStatus {
    Ok,
    NotFound,   // no file: no upload server is configured
    Unreadable, // the file exists but cannot be read
    Invalid,    // a line or a key is wrong or a required key is missing
};

// Parses the text of a settings file. On Invalid, *error names the line and the key.
SettingsStatus ParseUploadSettings(const std::string& text, UploadSettings* settings,
                                   std::string* error);

// Reads and parses the file; a relative cafile is taken from the file's own folder.
// *error says what is wrong (with the file's path) for every status but Ok.
SettingsStatus LoadUploadSettings(const std::string& path, UploadSettings* settings,
                                  std::string* error);

// The operator's settings file: $XDG_CONFIG_HOME/tondrela/upload.conf, or
// $HOME/.config/tondrela/upload.conf when XDG_CONFIG_HOME is not set ("" without either).
std::string DefaultUploadSettingsPath();
