#pragma once
// The upload of one recording file to the service's FTP server, over libcurl.
//
// SendFile logs in, enters the remote folder (the login directory followed by the configured
// folder; the folder is never created) and stores the file there in binary mode under its
// bare file name. It reports one of three outcomes: stored; no connection (the server could
// not be reached, or it refused the login or a secure connection); not stored (a failure
// after a good login: the folder, the transfer, a stall, a cancel). Trace lines say why; no
// text of this class ever holds the password.
//
// TLS: with `tls = try` the connection is secured when the server offers explicit TLS (and it
// fails rather than falling back to clear text when the secure handshake fails); with
// `require` nothing is sent without TLS. The server's certificate is checked unless the
// settings turn that off. Whenever the connection runs over TLS the data connection is
// passive, whatever the settings say: libcurl 7.88 (Debian 12) never completes a data
// connection in active mode over TLS (curl bug 10666, fixed in curl 8.0).
//
// Threads: one thread at a time per object (the sending thread of the window, or a tool's
// main thread); the progress function is called on that thread.

#include "net/UploadSettings.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

enum class UploadStatus {
    Stored,        // connected and stored
    CannotConnect, // no connection or no login: nothing was sent
    NotStored,     // connected, but the folder or the transfer failed (or it was cancelled)
};

struct UploadResult {
    UploadStatus status = UploadStatus::CannotConnect;
    std::string reason;   // why it failed, for a person ("" when stored); never the password
    bool overTls = false; // the control connection ran over TLS
};

struct UploadLimits {
    std::chrono::seconds connect{15}; // to connect, secure and log in
    std::chrono::seconds stall{30};   // with no byte moving or no reply from the server
};

// Called while a transfer runs, with the bytes sent so far and the file's size; returning
// false cancels the transfer.
using UploadProgress = std::function<bool(std::int64_t sentBytes, std::int64_t totalBytes)>;

class CFtp {
public:
    explicit CFtp(UploadSettings settings, UploadLimits limits = {});
    ~CFtp(); // closes the connection
    CFtp(const CFtp&) = delete;
    CFtp& operator=(const CFtp&) = delete;

    // Sends the local file at `path`. The connection is kept for the next file.
    UploadResult SendFile(const std::string& path, const UploadProgress& progress = {});

private:
    struct Transfer; // what the libcurl callbacks of one request see

    bool Perform(const std::string& url, Transfer* transfer, UploadResult* result);
    std::string RemoteUrl(const std::string& name) const;

    UploadSettings m_settings;
    UploadLimits m_limits;
    void* m_curl = nullptr;  // the libcurl handle: keeps the connection between files
    bool m_loggedIn = false; // of the kept connection, as its replies showed
    bool m_tls = false;
};
