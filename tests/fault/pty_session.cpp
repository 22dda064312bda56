#include "pty_session.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <utmp.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>
#include <thread>

namespace gm::fault {

namespace {

using clock = std::chrono::steady_clock;

std::vector<pid_t> all_pids()
{
    std::vector<pid_t> pids;
    DIR* proc = opendir("/proc");
    if (!proc) return pids;
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (end && *end == '\0' && pid > 0) pids.push_back(static_cast<pid_t>(pid));
    }
    closedir(proc);
    return pids;
}

} // namespace

std::string Ending::text() const
{
    if (!finished) return "still running";
    if (exited) return "exit status " + std::to_string(exit_code);
    return std::string("killed by signal ") + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

PtySession::PtySession(const std::string& program, const std::vector<std::string>& args, const std::string& home)
{
    termios modes{};
    cfmakeraw(&modes);
    // An ordinary interactive terminal: line editing, echo, signals from keys.
    modes.c_iflag = ICRNL | IXON | IUTF8;
    modes.c_oflag = OPOST | ONLCR;
    modes.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | IEXTEN;
    modes.c_cflag = CS8 | CREAD;
    cfsetispeed(&modes, B38400);
    cfsetospeed(&modes, B38400);
    modes.c_cc[VINTR] = 3;
    modes.c_cc[VQUIT] = 28;
    modes.c_cc[VERASE] = 127;
    modes.c_cc[VEOF] = 4;
    modes.c_cc[VSTART] = 17; // Ctrl-Q
    modes.c_cc[VSTOP] = 19;  // Ctrl-S
    modes.c_cc[VMIN] = 1;
    modes.c_cc[VTIME] = 0;
    winsize size{};
    size.ws_col = 80;
    size.ws_row = 24;

    std::vector<std::string> argv_text{program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv_text) argv.push_back(arg.data());
    argv.push_back(nullptr);

    if (openpty(&master_, &slave_, nullptr, &modes, &size) != 0)
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    // Read back before the program can touch them: the kernel may have
    // normalised some bits.
    tcgetattr(slave_, &before_);
    slave_path_ = ttyname(slave_);

    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid_ == 0) {
        close(master_);
        // A new session with the terminal as its controlling terminal on 0, 1 and 2.
        if (login_tty(slave_) != 0) _exit(126);
        // A quit signal that is re-raised would otherwise leave a core file.
        const rlimit no_core{0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        setenv("TERM", "xterm-256color", 1);
        // An entry with the repeat sequence, under a character type that leaves ncurses free to send it.
        setenv("LC_ALL", "C", 1);
        setenv("HOME", home.c_str(), 1);
        setenv("TMPDIR", home.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

PtySession::~PtySession()
{
    if (!reaped_ && pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
}

void PtySession::drain(int timeout_ms)
{
    if (master_ < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms));
        return;
    }
    pollfd ready{master_, POLLIN, 0};
    if (poll(&ready, 1, timeout_ms) <= 0) return;
    char buffer[65536];
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got > 0) output_.append(buffer, static_cast<std::size_t>(got));
    else std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms)); // EIO once the last slave closed
}

void PtySession::read_until(std::size_t bytes, std::chrono::milliseconds limit)
{
    const auto deadline = clock::now() + limit;
    while (output_.size() < bytes && clock::now() < deadline) drain(20);
}

void PtySession::send(int signal) const { kill(pid_, signal); }

void PtySession::type(const std::string& text) const
{
    if (master_ >= 0 && write(master_, text.data(), text.size()) < 0) throw std::runtime_error("cannot type");
}

void PtySession::close_master()
{
    close(master_);
    master_ = -1;
    // Our own slave descriptor would keep the terminal alive for the program.
    close(slave_);
    slave_ = -1;
}

Ending PtySession::wait_for_end(std::chrono::milliseconds limit)
{
    const auto deadline = clock::now() + limit;
    Ending ending;
    while (true) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            ending.finished = true;
            ending.exited = WIFEXITED(status);
            ending.exit_code = ending.exited ? WEXITSTATUS(status) : 0;
            ending.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            break;
        }
        if (clock::now() >= deadline) return ending;
        drain(20);
    }
    // Whatever the program wrote last is still in the terminal's buffer.
    for (int i = 0; i < 5; ++i) drain(10);
    return ending;
}

termios PtySession::modes_now() const
{
    termios now{};
    if (slave_ >= 0) tcgetattr(slave_, &now);
    return now;
}

bool same_modes(const termios& a, const termios& b)
{
    if (a.c_iflag != b.c_iflag || a.c_oflag != b.c_oflag || a.c_cflag != b.c_cflag || a.c_lflag != b.c_lflag)
        return false;
    if (cfgetispeed(&a) != cfgetispeed(&b) || cfgetospeed(&a) != cfgetospeed(&b)) return false;
    return std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

std::vector<std::string> modes_left_switched(const std::string& output)
{
    std::map<std::string, char> last;
    for (std::size_t at = output.find("\x1b[?"); at != std::string::npos; at = output.find("\x1b[?", at + 1)) {
        std::size_t end = at + 3;
        while (end < output.size() && (std::isdigit(static_cast<unsigned char>(output[end])) || output[end] == ';'))
            ++end;
        if (end >= output.size() || (output[end] != 'h' && output[end] != 'l')) continue;
        const std::string numbers = output.substr(at + 3, end - at - 3);
        std::size_t from = 0;
        while (from <= numbers.size()) {
            const std::size_t semicolon = std::min(numbers.find(';', from), numbers.size());
            if (semicolon > from) last[numbers.substr(from, semicolon - from)] = output[end];
            from = semicolon + 1;
        }
    }
    std::vector<std::string> switched;
    for (const auto& [mode, state] : last) {
        // The cursor (25) and line wrapping (7) are on in a terminal's normal state.
        const char normal = (mode == "25" || mode == "7") ? 'h' : 'l';
        if (state != normal) switched.push_back(mode);
    }
    return switched;
}

std::vector<pid_t> running_children()
{
    std::vector<pid_t> children;
    const pid_t self = getpid();
    for (const pid_t pid : all_pids()) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos || close + 4 >= line.size()) continue;
        const char state = line[close + 2];
        const pid_t parent = static_cast<pid_t>(std::strtol(line.c_str() + close + 4, nullptr, 10));
        if (parent == self && state != 'Z') children.push_back(pid);
    }
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    return children;
}

std::vector<pid_t> holders_of(const std::string& path, pid_t session)
{
    std::vector<pid_t> holders;
    for (const pid_t pid : all_pids()) {
        if (getsid(pid) != session) continue;
        const std::string fd_dir = "/proc/" + std::to_string(pid) + "/fd";
        DIR* fds = opendir(fd_dir.c_str());
        if (!fds) continue;
        while (const dirent* entry = readdir(fds)) {
            char target[4096];
            const std::string link = fd_dir + "/" + entry->d_name;
            const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
            if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == path) {
                holders.push_back(pid);
                break;
            }
        }
        closedir(fds);
    }
    return holders;
}

} // namespace gm::fault
