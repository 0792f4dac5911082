// The upload against real FTP servers on 127.0.0.1: what arrives, the three outcomes, TLS,
// the time limits, and the password kept out of every text.

#include "net/Ftp.h"
#include "tests/common/FtpTestServer.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using namespace ftptest;
using Clock = std::chrono::steady_clock;

// Bytes that a text-mode transfer would change: CR LF pairs, lone LFs, NULs and 0xFF.
std::string BinaryBytes(std::size_t count, unsigned seed) {
    std::string bytes(count, '\0');
    std::minstd_rand random(seed);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(i % 7 == 0 ? '\r' : i % 7 == 1 ? '\n' : random() & 0xFF);
    return bytes;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every file below `folder`, relative to it.
std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

UploadSettings Parse(const std::string& text) {
    UploadSettings settings;
    std::string error;
    EXPECT_EQ(ParseUploadSettings(text, &settings, &error), SettingsStatus::Ok) << error;
    return settings;
}

class FtpUpload : public TempFolderTest {
protected:
    // A recording in a folder of its own, named as the program names them.
    std::string Recording(const std::string& name, std::size_t size) {
        fs::create_directories(m_folder / "work");
        const fs::path path = m_folder / "work" / name;
        std::ofstream(path, std::ios::binary) << BinaryBytes(size, static_cast<unsigned>(size));
        return path.string();
    }

    // The password must not be in any text of the run.
    void ExpectNoPassword(const std::string& password, const UploadResult& result,
                          const TraceCapture& trace) {
        EXPECT_EQ(result.reason.find(password), std::string::npos) << result.reason;
        for (const std::string& line : trace.Lines())
            EXPECT_EQ(line.find(password), std::string::npos) << line;
    }
};

} // namespace

TEST_F(FtpUpload, RecordingsArriveByteIdenticalUnderTheirBareNames) {
    PlainFtpServer server(m_folder / "server");
    ASSERT_TRUE(server.Running()) << ReadAll(server.Log());
    const fs::path remote = server.MakeRemoteFolder();
    const std::string ppg = Recording("Kim_20240131_093005.ppg", 24000);
    const std::string hrv = Recording("Kim_20240131_093005.hrv", 9000);
    // Given as the program holds them: a path with folders in it.
    const std::string ppgPath =
        (m_folder / "work" / ".." / "work" / fs::path(ppg).filename()).string();

    for (const char* extra : {"mode = active\n", "mode = passive\n", "tls = off\n"}) {
        fs::remove_all(remote);
        fs::create_directories(remote);
        CFtp ftp(Parse(server.Settings(extra)));
        for (const std::string& path : {ppgPath, hrv}) {
            const UploadResult result = ftp.SendFile(path);
            EXPECT_EQ(result.status, UploadStatus::Stored) << extra << result.reason;
            EXPECT_FALSE(result.overTls);
        }
        EXPECT_EQ(ReadAll(remote / "Kim_20240131_093005.ppg"), ReadAll(ppg)) << extra;
        EXPECT_EQ(ReadAll(remote / "Kim_20240131_093005.hrv"), ReadAll(hrv)) << extra;
        EXPECT_EQ(FilesBelow(server.LoginFolder()),
                  (std::vector<std::string>{"varnholt/Tondrela_Data/Kim_20240131_093005.hrv",
                                            "varnholt/Tondrela_Data/Kim_20240131_093005.ppg"}))
            << extra;
    }
}

TEST_F(FtpUpload, FailuresBeforeAndAfterTheLogin) {
    PlainFtpServer server(m_folder / "server");
    ASSERT_TRUE(server.Running()) << ReadAll(server.Log());
    const std::string ppg = Recording("Lee_20240201_101010.ppg", 5000);
    const int silentPort = FreePort();

    struct Case {
        const char* name;
        std::string settings;
        std::string path;
        bool makeFolder;
        UploadStatus status;
    };
    const Case cases[] = {
        {"folder missing", server.Settings(), ppg, false, UploadStatus::NotStored},
        {"other folder missing", server.Settings("folder = /varnholt/Other\n"), ppg, true,
         UploadStatus::NotStored},
        {"wrong password", server.Settings("password = not" + server.Password() + "\n"), ppg, true,
         UploadStatus::CannotConnect},
        {"nothing listening",
         "server = 127.0.0.1\nport = " + std::to_string(silentPort) +
             "\nuser = u\npassword = " + server.Password() + "\n",
         ppg, true, UploadStatus::CannotConnect},
        {"tls required, server plain", server.Settings("tls = require\n"), ppg, true,
         UploadStatus::CannotConnect},
        {"no local file", server.Settings(), ppg + ".missing", true, UploadStatus::NotStored},
    };
    for (const Case& c : cases) {
        fs::remove_all(server.LoginFolder());
        fs::create_directories(server.LoginFolder());
        if (c.makeFolder)
            server.MakeRemoteFolder();
        TraceCapture trace;
        const auto start = Clock::now();
        // The last setting of a key wins: the wrong-password case overrides the account's.
        CFtp ftp(Parse(c.settings));
        const UploadResult result = ftp.SendFile(c.path);
        EXPECT_EQ(result.status, c.status) << c.name << ": " << result.reason;
        EXPECT_FALSE(result.reason.empty()) << c.name;
        EXPECT_LT(Clock::now() - start, UploadLimits().connect) << c.name;
        EXPECT_TRUE(FilesBelow(server.LoginFolder()).empty()) << c.name;
        ExpectNoPassword(server.Password(), result, trace);
    }
}

TEST_F(FtpUpload, StalledTransferEndsWithinTheStallLimit) {
    PlainFtpServer server(m_folder / "server", 64 * 1024);
    ASSERT_TRUE(server.Running()) << ReadAll(server.Log());
    server.MakeRemoteFolder();
    const std::string big = Recording("Park_20240202_111111.ppg", 16 * 1024 * 1024);
    const UploadLimits limits{std::chrono::seconds(5), std::chrono::seconds(2)};

    for (const char* mode : {"mode = active\n", "mode = passive\n"}) {
        CFtp ftp(Parse(server.Settings(mode)), limits);
        std::int64_t sent = 0;
        const auto start = Clock::now();
        const UploadResult result = ftp.SendFile(big, [&](std::int64_t bytes, std::int64_t) {
            sent = bytes;
            return true;
        });
        const auto took = Clock::now() - start;
        EXPECT_EQ(result.status, UploadStatus::NotStored) << mode << result.reason;
        EXPECT_GT(sent, 0) << mode;
        EXPECT_LT(sent, 16 * 1024 * 1024) << mode;
        EXPECT_GE(took, limits.stall) << mode;
        EXPECT_LT(took, limits.stall + std::chrono::milliseconds(1500)) << mode;
    }
}

TEST_F(FtpUpload, TlsOnlyServer) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "pure-ftpd needs root";
    TlsFtpServer server(m_folder / "server");
    ASSERT_TRUE(server.Running()) << ReadAll(server.Log());
    const fs::path remote = server.MakeOwnRemoteFolder();
    ASSERT_FALSE(remote.empty());
    const std::string ppg = Recording("Choi_20240203_121212.ppg", 30000);
    const std::string cafile = "cafile = " + server.CertFile().string() + "\n";

    struct Case {
        const char* name;
        std::string extra;
        UploadStatus status;
    };
    const Case cases[] = {
        // Active mode over TLS: the data connection goes passive.
        {"try, active", "tls = try\nmode = active\n" + cafile, UploadStatus::Stored},
        {"try, passive", "tls = try\nmode = passive\n" + cafile, UploadStatus::Stored},
        {"require, unchecked", "tls = require\nverify = no\n", UploadStatus::Stored},
        // A certificate that cannot be checked stops the upload; no fallback to clear text.
        {"try, unknown certificate", "tls = try\n", UploadStatus::CannotConnect},
        {"off", "tls = off\n" + cafile, UploadStatus::CannotConnect},
    };
    for (const Case& c : cases) {
        fs::remove(remote / "Choi_20240203_121212.ppg");
        TraceCapture trace;
        CFtp ftp(Parse(server.Settings(c.extra)));
        const UploadResult result = ftp.SendFile(ppg);
        EXPECT_EQ(result.status, c.status) << c.name << ": " << result.reason;
        const bool stored = c.status == UploadStatus::Stored;
        EXPECT_EQ(fs::exists(remote / "Choi_20240203_121212.ppg"), stored) << c.name;
        if (stored) {
            EXPECT_TRUE(result.overTls) << c.name;
            EXPECT_EQ(ReadAll(remote / "Choi_20240203_121212.ppg"), ReadAll(ppg)) << c.name;
        }
        ExpectNoPassword(server.Password(), result, trace);
    }
}
