// tondrela-upload as a user runs it against a local FTP server: a line per file, the exit
// codes, the settings file's default place, and no password in anything it prints.

#include "tests/common/FtpTestServer.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace ftptest;

struct ToolRun {
    int exitCode = -1;
    std::string output; // standard output and standard error
};

// Runs the tool with `environment` ("NAME=value ..." or "") and `arguments`.
ToolRun Upload(const std::string& environment, const std::string& arguments) {
    const std::string command =
        "env " + environment + " " TONDRELA_STAGE_DIR "/bin/tondrela-upload " + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    for (int c; (c = std::fgetc(pipe)) != EOF;)
        run.output += static_cast<char>(c);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class TondrelaUpload : public TempFolderTest {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = m_folder / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
};

} // namespace

TEST_F(TondrelaUpload, BadUsageAndUnusableSettings) {
    const std::string ppg = Write("Kim_20240131_093005.ppg", "data");
    const std::string config = Write("upload.conf", "server = s\nuser = u\n");
    struct Case {
        std::string arguments;
        int exitCode;
        std::string output;
    };
    const Case cases[] = {
        {"", 2, "usage: tondrela-upload"},
        {"--config", 2, "usage:"},
        {"--config " + config, 2, "usage:"},
        {"--bogus " + ppg, 2, "usage:"},
        {"--config " + config + " " + ppg, 1, config + ": 'password' is missing"},
        {"--config " + PathOf("none.conf") + " " + ppg, 1, "no upload settings file"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Upload("XDG_CONFIG_HOME=" + m_folder.string(), c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_NE(run.output.find(c.output), std::string::npos) << c.arguments << run.output;
    }
}

TEST_F(TondrelaUpload, OneLinePerFileAndTheExitCode) {
    PlainFtpServer server(m_folder / "server");
    ASSERT_TRUE(server.Running());
    const fs::path remote = server.MakeRemoteFolder();
    const std::string ppg = Write("work/Kim_20240131_093005.ppg", std::string("\r\n\0\xff", 4));
    const std::string hrv = Write("work/Kim_20240131_093005.hrv", "rates");
    // The default place of the settings file.
    Write("config/tondrela/upload.conf", server.Settings("mode = passive\n"));
    const std::string defaults = "XDG_CONFIG_HOME=" + (m_folder / "config").string();

    ToolRun run = Upload(defaults, ppg + " " + hrv);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "sent " + ppg + "\nsent " + hrv + "\n");
    EXPECT_EQ(std::filesystem::file_size(remote / "Kim_20240131_093005.ppg"), 4u);

    run = Upload(defaults, ppg + " " + PathOf("work/none.ppg") + " " + hrv);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "sent " + ppg + "\nfailed " + PathOf("work/none.ppg") +
                              ": not stored: cannot read the file\nsent " + hrv + "\n");

    // A wrong password: every file fails, and the password is nowhere in the output.
    const std::string wrong = "wrong" + server.Password();
    const std::string config = Write("wrong.conf", server.Settings("password = " + wrong + "\n"));
    run = Upload(defaults, "--config " + config + " " + ppg + " " + hrv);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output.rfind("failed " + ppg + ": could not connect: ", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("\nfailed " + hrv + ": could not connect: "), std::string::npos);
    EXPECT_EQ(run.output.find(server.Password()), std::string::npos) << run.output;
}
