// Things that are not raw-sample files, named .csv and given to both tools: each is refused at
// once with a clear error and exit status 1. "At once" is measured on the child process: under
// a second of processor time and under 50 MB of peak memory; a child that hangs (a pipe that
// is never written) is killed at a deadline and fails the test.

#include "tests/common/TempFolder.h"
#include "tests/common/ToolRun.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
constexpr double kCpuSeconds = 1.0;
constexpr long kMaxRssKb = 50 * 1024;
constexpr auto kHangDeadline = std::chrono::seconds(20);

using HostileCsv = TempFolderTest;
} // namespace

TEST_F(HostileCsv, RefusedAtOnceByBothTools) {
    fs::create_symlink("/dev/zero", m_folder / "zero.csv");
    ASSERT_EQ(mkfifo(PathOf("fifo.csv").c_str(), 0600), 0);
    {
        std::ofstream(PathOf("sparse.csv")) << "raw\n";
        fs::resize_file(PathOf("sparse.csv"), 2ull << 30); // 2 GB, a hole after "raw"
    }
    fs::create_directory(m_folder / "folder.csv");

    struct Case {
        const char* file;
        const char* error;
    };
    const Case cases[] = {
        {"zero.csv", "not a regular file"},
        {"fifo.csv", "not a regular file"},
        {"sparse.csv", "larger than 24 MB"},
        {"folder.csv", "not a regular file"},
    };
    for (const Case& c : cases) {
        const std::string path = PathOf(c.file);
        for (const auto& [tool, arguments] :
             {std::pair<std::string, std::vector<std::string>>{"tondrela-analyse", {path}},
              {"tondrela-record", {"--simulate=" + path, "--seconds", "1"}}}) {
            const ToolRun run = RunTool(tool, arguments, kHangDeadline);
            const std::string what = tool + " " + c.file;
            EXPECT_FALSE(run.killed) << what << " hung";
            EXPECT_EQ(run.exitCode, 1) << what;
            // The analyser reports on its JSON line, the recorder on standard error.
            EXPECT_NE((run.out + run.err).find(c.error), std::string::npos)
                << what << ": " << run.out << run.err;
            EXPECT_LT(run.cpuSeconds, kCpuSeconds) << what;
            EXPECT_LT(run.maxRssKb, kMaxRssKb) << what;
            RecordProperty(tool + "_" + c.file + "_ms", static_cast<int>(run.wallSeconds * 1000));
        }
    }
}
