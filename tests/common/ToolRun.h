#pragma once
// Runs a staged command-line tool as a child process (POSIX fork, exec, wait4) and reports
// how it ended, what it printed and what it cost.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

struct ToolRun {
    int exitCode = -1;   // -1 when the child did not exit by itself
    bool killed = false; // still running at the deadline, and killed
    std::string out;     // standard output
    std::string err;     // standard error
    double cpuSeconds = 0;
    double wallSeconds = 0;
    long maxRssKb = 0; // peak resident memory of the child
};

inline std::string ToolPath(const std::string& tool) {
    return std::string(TONDRELA_STAGE_DIR) + "/bin/" + tool;
}

// Runs the tool with the arguments; `inChild` runs in the child before the exec (resource
// limits, signal dispositions). A child still running after `deadline` is killed.
inline ToolRun RunTool(const std::string& tool, const std::vector<std::string>& arguments,
                       std::chrono::milliseconds deadline = std::chrono::seconds(120),
                       const std::function<void()>& inChild = {}) {
    char outPath[] = "/tmp/tondrela-tool-out-XXXXXX";
    char errPath[] = "/tmp/tondrela-tool-err-XXXXXX";
    const int outFd = mkstemp(outPath);
    const int errFd = mkstemp(errPath);
    const std::string program = ToolPath(tool);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    ToolRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        if (inChild)
            inChild();
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (pid > 0 && wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() - start > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            run.killed = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = !run.killed && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.maxRssKb = usage.ru_maxrss;
    close(outFd);
    close(errFd);
    for (auto [path, text] : {std::pair{outPath, &run.out}, std::pair{errPath, &run.err}}) {
        std::ifstream in(path, std::ios::binary);
        text->assign(std::istreambuf_iterator<char>(in), {});
        std::remove(path);
    }
    return run;
}
