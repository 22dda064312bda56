// The terminal aquarium, started on a pseudo-terminal like any program run
// from a terminal window, is ended by each of the signals a user or a session
// can send and by the terminal going away. Each time it must end promptly and
// without crashing, hand the terminal back in the modes it found it in, and
// leave no process, no open terminal and no file behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "pty_session.h"

namespace gm::fault {
namespace {

using namespace std::chrono_literals;
using ::testing::IsEmpty;

struct Fault {
    const char* name;
    int signal;        // 0: no signal
    bool close_master; // the terminal window is closed
    const char* key;   // typed instead, as a user ends it
};

std::ostream& operator<<(std::ostream& out, const Fault& fault) { return out << fault.name; }

class ScratchHome {
public:
    ScratchHome()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "glyph-fault-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchHome() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_))
            names.push_back(entry.path().string());
        return names;
    }

private:
    std::string path_;
};

// A signal ends the program by itself, re-raised once the terminal is
// restored, so that its parent sees an interrupted run; a crash or another
// signal may not end it.
bool ended_as_it_should(const Ending& ending, const Fault& fault)
{
    if (fault.key) return ending.exited && ending.exit_code == 0;
    if (fault.signal) return !ending.exited && ending.signal == fault.signal;
    // A closed terminal hangs up the session, but the program may see the
    // hang-up on its input first and end on its own, or report that it
    // cannot use the terminal any more.
    if (!ending.exited) return ending.signal == SIGHUP;
    return ending.exit_code == 0 || ending.exit_code == 1 || ending.exit_code == 2;
}

std::string describe(const termios& t)
{
    char text[160];
    std::snprintf(text, sizeof text, "iflag %#o oflag %#o cflag %#o lflag %#o VMIN %d VTIME %d", t.c_iflag, t.c_oflag,
                  t.c_cflag, t.c_lflag, t.c_cc[VMIN], t.c_cc[VTIME]);
    return text;
}

class CleanExit : public ::testing::TestWithParam<Fault> {
protected:
    static void SetUpTestSuite()
    {
        // Anything the program leaves running becomes our child, so it can be seen.
        prctl(PR_SET_CHILD_SUBREAPER, 1);
    }
};

TEST_P(CleanExit, RestoresTheTerminalAndLeavesNothingBehind)
{
    const Fault& fault = GetParam();
    ScratchHome home;
    PtySession session(GLYPH_PROGRAM, {"--seed", "1"}, home.path());

    session.read_until(1, 10s);
    ASSERT_FALSE(session.output().empty()) << "the aquarium drew nothing within 10 s";
    session.read_until(session.output().size() + 4096, 1500ms); // a few frames
    ASSERT_FALSE(session.wait_for_end(0ms).finished) << "the aquarium ended by itself";
    EXPECT_NE(session.output().find(std::string(20, '~')), std::string::npos)
        << "the water line was not sent as plain characters (a repeat sequence?)";

    const std::string slave = session.slave_path();
    if (fault.signal) session.send(fault.signal);
    if (fault.close_master) session.close_master();
    if (fault.key) session.type(fault.key);

    const Ending ending = session.wait_for_end(10s);
    ASSERT_TRUE(ending.finished) << "still running 10 s after " << fault.name;
    std::printf("%s: %s after %zu bytes of output\n", fault.name, ending.text().c_str(), session.output().size());
    EXPECT_TRUE(ended_as_it_should(ending, fault)) << fault.name << " ended it with " << ending.text();

    if (!fault.close_master) {
        EXPECT_TRUE(same_modes(session.modes_before(), session.modes_now()))
            << "terminal modes before: " << describe(session.modes_before())
            << "\nterminal modes after:  " << describe(session.modes_now());
        EXPECT_THAT(modes_left_switched(session.output()), IsEmpty())
            << "terminal modes (ESC [ ? n h) left switched on";
    }
    const std::vector<pid_t> left_running = running_children();
    EXPECT_THAT(left_running, IsEmpty()) << "processes left running";
    for (const pid_t pid : left_running) kill(pid, SIGKILL);
    EXPECT_THAT(holders_of(slave, session.pid()), IsEmpty()) << "processes still holding " << slave;
    EXPECT_THAT(home.entries(), IsEmpty()) << "files left in the program's home and temporary directory";
}

INSTANTIATE_TEST_SUITE_P(Faults, CleanExit,
                         ::testing::Values(Fault{"SIGINT", SIGINT, false, nullptr},
                                           Fault{"SIGTERM", SIGTERM, false, nullptr},
                                           Fault{"SIGHUP", SIGHUP, false, nullptr},
                                           Fault{"SIGQUIT", SIGQUIT, false, nullptr},
                                           Fault{"SIGUSR1", SIGUSR1, false, nullptr},
                                           Fault{"SIGUSR2", SIGUSR2, false, nullptr},
                                           Fault{"SIGALRM", SIGALRM, false, nullptr},
                                           // A fault: restored by its handler, not by the loop.
                                           Fault{"SIGABRT", SIGABRT, false, nullptr},
                                           Fault{"ClosedTerminal", 0, true, nullptr},
                                           Fault{"CtrlS", 0, false, "\x13"},
                                           Fault{"KeyPress", 0, false, "x"}),
                         [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

} // namespace
} // namespace gm::fault
