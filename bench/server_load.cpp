// A crowd of viewers for glyphmarinae-server: VIEWERS connections to a port
// on loopback, spread over source addresses 127.0.1.x so that each address
// stays under the server's per-address cap, each asking for the aquarium and
// reading every byte. After SECONDS it reports how many frames each viewer
// received against the ten a second it was due, and how much memory the
// server's process grew by.
//
//   server_load PORT VIEWERS SECONDS PER_ADDRESS [SERVER_PID] [QUERY] [churn]
//
// With "churn", a hundred viewers a second leave at random, each followed
// at once by a newcomer from its address, for the whole count.
//
// Only 127.0.0.0/8 is ever connected to; counts and time are bounded.
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int max_viewers = 20000;
constexpr int max_seconds = 600;
constexpr std::string_view frame_end = "\x1b[?2026l";

struct Viewer {
    int fd = -1;
    long frames = 0;
    std::size_t matched = 0; // bytes of frame_end matched across reads
    bool closed = false;
};

long resident_kb(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

double now_s()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: server_load PORT VIEWERS SECONDS PER_ADDRESS [SERVER_PID] [QUERY]\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const int count = std::clamp(std::atoi(argv[2]), 1, max_viewers);
    const int seconds = std::clamp(std::atoi(argv[3]), 1, max_seconds);
    const int per_address = std::clamp(std::atoi(argv[4]), 1, 1000);
    const int server_pid = argc > 5 ? std::atoi(argv[5]) : 0;
    const std::string query = argc > 6 ? argv[6] : "";
    const bool churn = argc > 7 && std::string_view(argv[7]) == "churn";
    constexpr double churn_per_second = 100;
    long churned = 0;
    const std::string request = "GET /" + query + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, static_cast<rlim_t>(count) + 64);
    setrlimit(RLIMIT_NOFILE, &limit);

    const long idle_kb = server_pid > 0 ? resident_kb(server_pid) : -1;
    const int poller = epoll_create1(0);
    std::vector<Viewer> viewers(static_cast<std::size_t>(count));
    int failed = 0, opened = 0;
    // Connections are opened a few at a time while the ones open are read,
    // as a crowd arrives; the count starts when the last has connected.
    auto open_one = [&](int i) {
        Viewer& v = viewers[static_cast<std::size_t>(i)];
        v.fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in source{};
        source.sin_family = AF_INET;
        // 127.0.1.0 upwards: the third and fourth bytes count the addresses.
        const int address = i / per_address;
        source.sin_addr.s_addr = htonl((127u << 24) | ((1u << 8) + static_cast<unsigned>(address)));
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(static_cast<std::uint16_t>(port));
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (v.fd < 0 || bind(v.fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
            (connect(v.fd, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0 && errno != EINPROGRESS)) {
            ++failed;
            v.closed = true;
            if (v.fd >= 0) close(v.fd);
            return;
        }
        epoll_event event{};
        event.events = EPOLLOUT;
        event.data.u32 = static_cast<std::uint32_t>(i);
        epoll_ctl(poller, EPOLL_CTL_ADD, v.fd, &event);
    };
    auto drop = [&](Viewer& v) {
        epoll_ctl(poller, EPOLL_CTL_DEL, v.fd, nullptr);
        close(v.fd);
        v.closed = true;
    };
    std::vector<epoll_event> events(1024);
    std::vector<char> buffer(1 << 16);
    long busiest_kb = idle_kb;
    const double arrival = now_s();
    double start = 0, next_sample = 0;
    int connected = 0;
    for (;;) {
        const double now = now_s();
        if (start == 0 && (connected + failed == count || now - arrival > max_seconds)) start = next_sample = now;
        if (start != 0 && now - start >= seconds) break;
        if (churn && start != 0)
            for (; churned < (now - start) * churn_per_second; ++churned) {
                const int leaver = std::rand() % count;
                Viewer& v = viewers[static_cast<std::size_t>(leaver)];
                if (!v.closed) drop(v);
                v = Viewer{};
                open_one(leaver);
            }
        for (int burst = 0; burst < 50 && opened < count; ++burst) open_one(opened++);
        const int ready = epoll_wait(poller, events.data(), static_cast<int>(events.size()), opened < count ? 1 : 100);
        for (int e = 0; e < ready; ++e) {
            const epoll_event& event = events[static_cast<std::size_t>(e)];
            Viewer& v = viewers[event.data.u32];
            if (v.closed) continue;
            if ((event.events & EPOLLOUT) != 0) {
                if (write(v.fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
                    ++failed;
                    drop(v);
                    continue;
                }
                epoll_event in{};
                in.events = EPOLLIN;
                in.data.u32 = event.data.u32;
                epoll_ctl(poller, EPOLL_CTL_MOD, v.fd, &in);
                ++connected;
                continue;
            }
            const ssize_t got = read(v.fd, buffer.data(), buffer.size());
            if (got <= 0) {
                drop(v);
                continue;
            }
            if (start == 0) continue; // frames before the count starts are not counted
            for (ssize_t b = 0; b < got; ++b) {
                v.matched = buffer[static_cast<std::size_t>(b)] == frame_end[v.matched] ? v.matched + 1
                            : buffer[static_cast<std::size_t>(b)] == frame_end[0]    ? 1
                                                                                      : 0;
                if (v.matched == frame_end.size()) ++v.frames, v.matched = 0;
            }
        }
        if (server_pid > 0 && start != 0 && now_s() >= next_sample) {
            busiest_kb = std::max(busiest_kb, resident_kb(server_pid));
            next_sample += 0.5;
        }
    }
    const double end = now_s(), elapsed = end - start;
    const double due = elapsed * 10;
    std::vector<long> frames;
    int closed = 0, met = 0;
    for (const Viewer& v : viewers) {
        if (v.closed) ++closed;
        frames.push_back(v.frames);
        if (v.frames >= 0.95 * due) ++met;
        if (!v.closed) close(v.fd);
    }
    std::sort(frames.begin(), frames.end());
    std::printf("viewers %d  connect_failed %d  closed_early %d  arriving %.1f s  counted %.1f s  frames_due %.0f\n",
                count, failed, closed, start - arrival, elapsed, due);
    if (churn) {
        std::printf("churned %ld viewers\n", churned);
        return failed == 0 ? 0 : 1;
    }
    std::printf("frames per viewer: min %ld  median %ld  max %ld\n", frames.front(), frames[frames.size() / 2],
                frames.back());
    std::printf("viewers with at least 95%% of their frames: %d of %d (%.1f%%)\n", met, count, 100.0 * met / count);
    if (server_pid > 0)
        std::printf("server resident: idle %ld KB, busiest %ld KB, %.1f KB per viewer\n", idle_kb, busiest_kb,
                    static_cast<double>(busiest_kb - idle_kb) / count);
    return met * 100 >= count * 95 && failed == 0 ? 0 : 1;
}
