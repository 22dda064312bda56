#pragma once
#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <string>
#include <vector>

namespace gm::fault {

// How a program ended, as waitpid saw it.
struct Ending {
    bool finished = false; // false: still running when the wait gave up
    bool exited = false;
    int exit_code = 0;
    int signal = 0;
    std::string text() const;
};

// A program running as the session leader of a fresh pseudo-terminal, like
// a program started from a terminal window. The master side is drained all
// the time, so the program never blocks on a full terminal.
class PtySession {
public:
    PtySession(const std::string& program, const std::vector<std::string>& args, const std::string& home);
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    // Reads until at least `bytes` have arrived or the time is up.
    void read_until(std::size_t bytes, std::chrono::milliseconds limit);
    void send(int signal) const;
    // Written to the master, text reaches the program as if typed.
    void type(const std::string& text) const;
    void close_master();
    Ending wait_for_end(std::chrono::milliseconds limit);

    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }
    const std::string& slave_path() const { return slave_path_; }
    // The terminal's modes now, read through a slave descriptor of our own.
    termios modes_now() const;
    const termios& modes_before() const { return before_; }

private:
    void drain(int timeout_ms);

    pid_t pid_ = -1;
    int master_ = -1;
    int slave_ = -1;
    std::string slave_path_;
    std::string output_;
    termios before_{};
    bool reaped_ = false;
};

// Whether two sets of terminal modes agree in every flag and control character.
bool same_modes(const termios& a, const termios& b);

// The private modes (ESC [ ? n h / l) that the output left switched from
// their normal state, e.g. "1049" for a screen never left, "25" for a cursor
// left hidden.
std::vector<std::string> modes_left_switched(const std::string& output);

// Processes whose parent is this process and which are still running.
std::vector<pid_t> running_children();

// Processes of the given session that hold `path` open. Only the program's
// own session is looked at: once a terminal is closed, its number may at
// once be given to another program on the machine.
std::vector<pid_t> holders_of(const std::string& path, pid_t session);

} // namespace gm::fault
