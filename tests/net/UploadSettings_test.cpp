// The upload settings file: keys, defaults, errors that name the key, never the password.

#include "net/UploadSettings.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

constexpr char kSecret[] = "Zq7#secret=word";

struct ParseCase {
    const char* name;
    std::string text;
    std::string error; // "" = parses; else a part of the error
};

const std::string kAccount =
    std::string("server = ftp.example.org\nuser = clinic\npassword = ") + kSecret + "\n";

} // namespace

TEST(UploadSettings, ParsesEveryKeyAndKeepsDefaults) {
    UploadSettings settings;
    std::string error;
    ASSERT_EQ(ParseUploadSettings(kAccount, &settings, &error), SettingsStatus::Ok) << error;
    EXPECT_EQ(settings.port, 21);
    EXPECT_EQ(settings.folder, "/varnholt/Tondrela_Data");
    EXPECT_EQ(settings.mode, DataMode::Active);
    EXPECT_EQ(settings.tls, TlsUse::Try);
    EXPECT_TRUE(settings.verify);
    EXPECT_EQ(settings.caFile, "");

    const std::string full = "# upload server of the clinic\n\n"
                             "  server=10.1.2.3  \n\tport = 2121\nuser = a b\n"
                             "password =  " +
                             std::string(kSecret) +
                             "  \r\n"
                             "folder = /data/in\nmode = passive\ntls = require\nverify = no\n"
                             "   # cafile = none\ncafile = /etc/ca.pem\n";
    ASSERT_EQ(ParseUploadSettings(full, &settings, &error), SettingsStatus::Ok) << error;
    EXPECT_EQ(settings.server, "10.1.2.3");
    EXPECT_EQ(settings.port, 2121);
    EXPECT_EQ(settings.user, "a b");
    EXPECT_EQ(settings.password, kSecret); // a "#" and a "=" inside a value belong to it
    EXPECT_EQ(settings.folder, "/data/in");
    EXPECT_EQ(settings.mode, DataMode::Passive);
    EXPECT_EQ(settings.tls, TlsUse::Require);
    EXPECT_FALSE(settings.verify);
    EXPECT_EQ(settings.caFile, "/etc/ca.pem");

    ASSERT_EQ(ParseUploadSettings(kAccount + "tls = off\n", &settings, &error), SettingsStatus::Ok);
    EXPECT_EQ(settings.tls, TlsUse::Off);
}

TEST(UploadSettings, ErrorsNameTheKeyAndNeverTheSecret) {
    const ParseCase cases[] = {
        {"no server", "user = u\npassword = p\n", "'server' is missing"},
        {"no user", "server = s\npassword = p\n", "'user' is missing"},
        {"no password", "server = s\nuser = u\n", "'password' is missing"},
        {"empty password", "server = s\nuser = u\npassword =\n", "'password' is missing"},
        {"empty file", "", "'server' is missing"},
        {"no equals", "server = s\nuser = u\npassword " + std::string(kSecret) + "\n",
         "line 3: expected key = value"},
        {"port 0", kAccount + "port = 0\n", "line 4: 'port'"},
        {"port too big", kAccount + "port = 65536\n", "'port'"},
        {"port text", kAccount + "port = 21a\n", "'port'"},
        {"mode", kAccount + "mode = pasv\n", "'mode' must be active or passive"},
        {"tls", kAccount + "tls = yes\n", "'tls' must be try, require or off"},
        {"verify", kAccount + "verify = true\n", "'verify' must be yes or no"},
        {"typo", "sever = s\n" + kAccount, "line 1: unknown key 'sever'"},
        {"key case", kAccount + "Mode = passive\n", "unknown key 'Mode'"},
        {"port upper limit", kAccount + "port = 65535\n", ""},
    };
    for (const ParseCase& c : cases) {
        UploadSettings settings;
        std::string error;
        const SettingsStatus status = ParseUploadSettings(c.text, &settings, &error);
        if (c.error.empty()) {
            EXPECT_EQ(status, SettingsStatus::Ok) << c.name << ": " << error;
            continue;
        }
        EXPECT_EQ(status, SettingsStatus::Invalid) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(error.find("Zq7"), std::string::npos) << c.name << ": " << error;
    }
}

class UploadSettingsFile : public TempFolderTest {};

TEST_F(UploadSettingsFile, MissingUnreadableAndRelativeCaFile) {
    UploadSettings settings;
    std::string error;
    EXPECT_EQ(LoadUploadSettings(PathOf("none.conf"), &settings, &error), SettingsStatus::NotFound);
    EXPECT_NE(error.find(PathOf("none.conf")), std::string::npos);
    std::filesystem::create_directory(m_folder / "folder.conf");
    EXPECT_EQ(LoadUploadSettings(PathOf("folder.conf"), &settings, &error),
              SettingsStatus::Unreadable);
    EXPECT_NE(error.find(PathOf("folder.conf")), std::string::npos);

    std::ofstream(PathOf("bad.conf")) << "server = s\n";
    EXPECT_EQ(LoadUploadSettings(PathOf("bad.conf"), &settings, &error), SettingsStatus::Invalid);
    EXPECT_EQ(error, PathOf("bad.conf") + ": 'user' is missing");

    std::ofstream(PathOf("upload.conf")) << kAccount << "cafile = certs/ca.pem\n";
    ASSERT_EQ(LoadUploadSettings(PathOf("upload.conf"), &settings, &error), SettingsStatus::Ok);
    EXPECT_EQ(settings.caFile, PathOf("certs/ca.pem"));
    std::ofstream(PathOf("upload.conf")) << kAccount << "cafile = /etc/ca.pem\n";
    ASSERT_EQ(LoadUploadSettings(PathOf("upload.conf"), &settings, &error), SettingsStatus::Ok);
    EXPECT_EQ(settings.caFile, "/etc/ca.pem");
}

TEST(UploadSettings, DefaultPathFollowsTheConfigFolder) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", "/home/op", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(DefaultUploadSettingsPath(), "/cfg/tondrela/upload.conf");
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    EXPECT_EQ(DefaultUploadSettingsPath(), "/home/op/.config/tondrela/upload.conf");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultUploadSettingsPath(), "/home/op/.config/tondrela/upload.conf");
    ::unsetenv("HOME");
    EXPECT_EQ(DefaultUploadSettingsPath(), "");
    ::setenv("HOME", savedHome.c_str(), 1);
}
