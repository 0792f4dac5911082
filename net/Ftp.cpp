#include "net/Ftp.h"

#include "analysis/Trace.h"

#include <curl/curl.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

namespace {

constexpr std::size_t kMaxReplyText = 200; // of a server reply kept for the reason

CURL* Handle(void* curl) {
    return static_cast<CURL*>(curl);
}

std::string Escaped(CURL* curl, const std::string& text) {
    char* escaped = curl_easy_escape(curl, text.c_str(), static_cast<int>(text.size()));
    std::string result = escaped ? escaped : "";
    curl_free(escaped);
    return result;
}

// `text` without any copy of `secret` in it.
std::string Redacted(std::string text, const std::string& secret) {
    for (std::size_t at; !secret.empty() && (at = text.find(secret)) != std::string::npos;)
        text.replace(at, secret.size(), "***");
    return text;
}

} // namespace

// The state of the control connection as its replies show it, and what one request's
// callbacks need.
struct CFtp::Transfer {
    std::ifstream* file = nullptr; // the upload's source; nullptr while entering the folder
    std::int64_t size = 0;
    const UploadProgress* progress = nullptr;
    std::chrono::seconds stallLimit{0};
    std::int64_t lastSent = 0;
    std::chrono::steady_clock::time_point lastMove; // when lastSent last changed
    std::string abortReason; // why a callback ended the request ("" = it did not)
    std::string lastReply;

    bool* loggedIn = nullptr; // of the connection: reset by a greeting, set by reply 230
    bool* tls = nullptr;      // of the connection: set by reply 234 to AUTH TLS

    static std::size_t OnReply(char* data, std::size_t size, std::size_t count, void* user) {
        auto* self = static_cast<Transfer*>(user);
        std::string line(data, size * count);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        const std::string code = line.substr(0, 3);
        if (code == "220") { // a greeting: a new connection, not yet logged in or secured
            *self->loggedIn = false;
            *self->tls = false;
        } else if (code == "230") {
            *self->loggedIn = true;
        } else if (code == "234") {
            *self->tls = true;
        }
        self->lastReply = line.substr(0, kMaxReplyText);
        return size * count;
    }

    static std::size_t OnRead(char* buffer, std::size_t size, std::size_t count, void* user) {
        auto* self = static_cast<Transfer*>(user);
        self->file->read(buffer, static_cast<std::streamsize>(size * count));
        if (self->file->bad())
            return CURL_READFUNC_ABORT;
        return static_cast<std::size_t>(self->file->gcount());
    }

    // Called at least once a second while a request runs.
    static int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
        auto* self = static_cast<Transfer*>(user);
        const auto now = std::chrono::steady_clock::now();
        if (sent != self->lastSent) {
            self->lastSent = sent;
            self->lastMove = now;
        } else if (self->file && now - self->lastMove >= self->stallLimit) {
            self->abortReason =
                "stalled: no data moved for " + std::to_string(self->stallLimit.count()) + " s";
            return 1;
        }
        if (self->progress && *self->progress && !(*self->progress)(sent, self->size)) {
            self->abortReason = "cancelled";
            return 1;
        }
        return 0;
    }
};

CFtp::CFtp(UploadSettings settings, UploadLimits limits)
    : m_settings(std::move(settings)), m_limits(limits) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_curl = curl_easy_init();
}

CFtp::~CFtp() {
    curl_easy_cleanup(Handle(m_curl));
}

std::string CFtp::RemoteUrl(const std::string& name) const {
    CURL* curl = Handle(m_curl);
    const std::string& host = m_settings.server;
    std::string url = "ftp://" + (host.find(':') != std::string::npos ? "[" + host + "]" : host) +
                      ":" + std::to_string(m_settings.port) + "/";
    // Each part of the folder in turn below the login directory.
    std::istringstream parts(m_settings.folder);
    for (std::string part; std::getline(parts, part, '/');) {
        if (!part.empty())
            url += Escaped(curl, part) + "/";
    }
    return url + Escaped(curl, name);
}

bool CFtp::Perform(const std::string& url, Transfer* transfer, UploadResult* result) {
    CURL* curl = Handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, transfer);
    curl_easy_setopt(curl, CURLOPT_READDATA, transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, transfer);
    transfer->lastMove = std::chrono::steady_clock::now();
    const CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_OK)
        return true;

    // libcurl's error buffer is not used: in active mode 7.88 leaves an unrelated address
    // message there.
    const bool aborted = !transfer->abortReason.empty();
    result->status = aborted || m_loggedIn ? UploadStatus::NotStored : UploadStatus::CannotConnect;
    std::string reason = aborted ? transfer->abortReason : curl_easy_strerror(code);
    const char replyClass = transfer->lastReply.empty() ? '\0' : transfer->lastReply[0];
    if (!aborted && (replyClass == '4' || replyClass == '5'))
        reason += " (server: " + transfer->lastReply + ")";
    result->reason = Redacted(reason, m_settings.password);
    return false;
}

UploadResult CFtp::SendFile(const std::string& path, const UploadProgress& progress) {
    namespace fs = std::filesystem;
    UploadResult result;
    const std::string name = fs::path(path).filename().string();
    std::error_code code;
    std::ifstream file(path, std::ios::binary);
    const auto size = fs::file_size(path, code);
    if (!m_curl || name.empty() || !fs::is_regular_file(path, code) || !file || code) {
        result.status = UploadStatus::NotStored;
        result.reason = m_curl ? "cannot read the file" : "no transfer library";
        TRACE("upload %s: %s\n", path.c_str(), result.reason.c_str());
        return result;
    }

    CURL* curl = Handle(m_curl);
    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_settings.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_settings.password.c_str());
    static constexpr long kTlsLevel[] = {CURLUSESSL_TRY, CURLUSESSL_ALL, CURLUSESSL_NONE};
    curl_easy_setopt(curl, CURLOPT_USE_SSL, kTlsLevel[static_cast<int>(m_settings.tls)]);
    curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, m_settings.verify ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, m_settings.verify ? 2L : 0L);
    if (!m_settings.caFile.empty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, m_settings.caFile.c_str());
    const long connectSeconds = static_cast<long>(m_limits.connect.count());
    const long stallSeconds = static_cast<long>(m_limits.stall.count());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectSeconds);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, connectSeconds * 1000);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, stallSeconds);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Transfer::OnReply);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Transfer::OnProgress);

    Transfer transfer;
    transfer.progress = &progress;
    transfer.stallLimit = m_limits.stall;
    transfer.loggedIn = &m_loggedIn;
    transfer.tls = &m_tls;
    const std::string url = RemoteUrl(name);

    // Log in and enter the folder without a data connection: whether the connection runs
    // over TLS decides the data connection's mode.
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    bool ok = Perform(url.substr(0, url.rfind('/') + 1), &transfer, &result);
    if (ok) {
        const bool passive = m_settings.mode == DataMode::Passive || m_tls;
        transfer.file = &file;
        transfer.size = static_cast<std::int64_t>(size);
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Transfer::OnRead);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
        curl_easy_setopt(curl, CURLOPT_FTPPORT, passive ? nullptr : "-");
        ok = Perform(url, &transfer, &result);
    }
    result.overTls = m_tls;
    if (ok) {
        result.status = UploadStatus::Stored;
        TRACE("upload %s: stored as %s\n", path.c_str(), url.c_str());
    } else {
        TRACE("upload %s: %s\n", path.c_str(), result.reason.c_str());
    }
    return result;
}
