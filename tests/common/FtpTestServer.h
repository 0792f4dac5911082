#pragma once
// Real FTP servers for the upload tests, each on 127.0.0.1 and a free port, started by the
// test, waited for, and stopped by its process id when the object goes:
// - PlainFtpServer: Debian's pyftpdlib run by /usr/bin/python3 (ftp_test_server.py), plain
//   FTP, optionally stalling an upload midway;
// - TlsFtpServer: Debian's pure-ftpd in the foreground, TLS only (plain logins refused), with
//   a virtual user made by pure-pw and a certificate for 127.0.0.1 made by openssl. It must
//   run as root (it changes root to the user's folder), as CI does.
// Each server has one account whose password is made here, new every run, and handed to the
// server through its standard input or environment, never on a command line.

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <netinet/in.h>

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace ftptest {

namespace fs = std::filesystem;

// A fresh password: 20 letters and digits with a "#" inside (settings values may hold one).
inline std::string NewPassword() {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string password;
    for (int i = 0; i < 20; ++i)
        password += kChars[random() % (sizeof kChars - 1)];
    password[8] = '#';
    return password;
}

// A TCP port on 127.0.0.1 that nothing listens on right now.
inline int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

inline bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// A server process: started with its output in a log file, stopped by its process id.
class ServerProcess {
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess() { Stop(); }

    // Starts argv[0] (a full path) and waits up to 10 s until it accepts on `port`.
    bool Start(const std::vector<std::string>& argv, const fs::path& log, int port,
               const std::string& extraEnvironment = "") {
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        std::vector<char*> env;
        for (char** entry = environ; *entry; ++entry)
            env.push_back(*entry);
        std::string extra = extraEnvironment;
        if (!extra.empty())
            env.push_back(extra.data());
        env.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int failed = posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        if (failed) {
            m_pid = 0;
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = 0; // it ended: see the log
                return false;
            }
            if (Accepts(port))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void Stop() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 100 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (::kill(m_pid, 0) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = 0;
    }

private:
    pid_t m_pid = 0;
};

// What both servers offer a test.
class FtpServerBase {
public:
    bool Running() const { return m_running; }
    int Port() const { return m_port; }
    const std::string& User() const { return m_user; }
    const std::string& Password() const { return m_password; }
    const fs::path& LoginFolder() const { return m_login; }
    const fs::path& Log() const { return m_log; }
    // The remote folder of the default settings, made below the login folder.
    fs::path MakeRemoteFolder() const {
        const fs::path folder = m_login / "varnholt" / "Tondrela_Data";
        fs::create_directories(folder);
        return folder;
    }
    // A settings file's text for this server, followed by `extra` lines.
    std::string Settings(const std::string& extra = "") const {
        return "server = 127.0.0.1\nport = " + std::to_string(m_port) + "\nuser = " + m_user +
               "\npassword = " + m_password + "\n" + extra;
    }

protected:
    ServerProcess m_process;
    bool m_running = false;
    int m_port = FreePort();
    std::string m_user = "tester";
    std::string m_password = NewPassword();
    fs::path m_login;
    fs::path m_log;
};

class PlainFtpServer : public FtpServerBase {
public:
    // Serves `folder`/login; with stallAfterBytes >= 0 every upload stalls after that many.
    explicit PlainFtpServer(const fs::path& folder, long stallAfterBytes = -1) {
        m_login = folder / "login";
        m_log = folder / "pyftpdlib.log";
        fs::create_directories(m_login);
        std::vector<std::string> argv = {"/usr/bin/python3",
                                         TONDRELA_TEST_COMMON "/ftp_test_server.py",
                                         std::to_string(m_port), m_login.string(), m_user};
        if (stallAfterBytes >= 0)
            argv.push_back(std::to_string(stallAfterBytes));
        m_running =
            m_process.Start(argv, m_log, m_port, "TONDRELA_TEST_FTP_PASSWORD=" + m_password);
    }
};

class TlsFtpServer : public FtpServerBase {
public:
    explicit TlsFtpServer(const fs::path& folder) {
        m_login = folder / "home";
        m_log = folder / "pure-ftpd.log";
        m_cert = folder / "cert.pem";
        const fs::path key = folder / "key.pem";
        const fs::path passwdFile = folder / "pureftpd.passwd";
        const fs::path pdb = folder / "pureftpd.pdb";
        const passwd* nobody = ::getpwnam("nobody");
        if (::geteuid() != 0 || !nobody)
            return;
        fs::create_directories(m_login);
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
        const std::string certificate =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
            " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout " +
            key.string() + " -out " + m_cert.string() + " >/dev/null 2>&1";
        if (std::system(certificate.c_str()) != 0)
            return;
        const std::string addUser = "pure-pw useradd " + m_user + " -u nobody -g nogroup -d " +
                                    m_login.string() + " -f " + passwdFile.string() + " -m -F " +
                                    pdb.string() + " >/dev/null";
        FILE* pureCommand = ::popen(addUser.c_str(), "w");
        if (!pureCommand)
            return;
        std::fprintf(pureCommand, "%s\n%s\n", m_password.c_str(), m_password.c_str());
        if (::pclose(pureCommand) != 0)
            return;
        const int passiveLow = FreePort();
        m_running = m_process.Start(
            {"/usr/sbin/pure-ftpd", "-S", "127.0.0.1," + std::to_string(m_port), "-l",
             "puredb:" + pdb.string(), "-Y", "2", "-2", m_cert.string() + "," + key.string(), "-E",
             "-j", "-p", std::to_string(passiveLow) + ":" + std::to_string(passiveLow + 20)},
            m_log, m_port);
        m_running = m_running && ChangeOwner(m_login, nobody);
    }

    // The server's certificate, for `cafile`.
    const fs::path& CertFile() const { return m_cert; }

    // Makes the remote folder, owned by the virtual user; "" when that failed.
    fs::path MakeOwnRemoteFolder() const {
        const fs::path folder = MakeRemoteFolder();
        return ChangeOwner(m_login, ::getpwnam("nobody")) ? folder : fs::path();
    }

private:
    static bool ChangeOwner(const fs::path& top, const passwd* owner) {
        bool ok = owner && ::chown(top.c_str(), owner->pw_uid, owner->pw_gid) == 0;
        for (const auto& entry : fs::recursive_directory_iterator(top))
            ok = ok && ::chown(entry.path().c_str(), owner->pw_uid, owner->pw_gid) == 0;
        return ok;
    }

    fs::path m_cert;
};

} // namespace ftptest
