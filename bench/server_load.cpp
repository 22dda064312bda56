// A crowd of viewers for glyphmarinae-server: VIEWERS connections to a port
// on loopback, spread over source addresses 127.0.1.x so that each address
// stays under the server's per-address cap, each asking for the aquarium and
// reading every byte. Once every viewer has had its first byte, it counts for
// SECONDS how many frames each viewer receives against the ten a second it is
// due, and how much memory the server's process grew by.
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
// The whole crowd is in within this, or the count starts without the rest.
constexpr double max_arrival_seconds = 60;
constexpr double churn_per_second = 100;
constexpr int opened_per_round = 50;
constexpr std::string_view frame_end = "\x1b[?2026l";

struct Options {
    int port = 0, count = 0, seconds = 0, per_address = 0, server_pid = 0;
    std::string query;
    bool churn = false;
};

struct Viewer {
    int fd = -1;
    long frames = 0;
    std::size_t matched = 0; // bytes of frame_end matched across reads
    bool closed = false;
    double connecting = 0, first_byte = 0; // when, on the generator's clock
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

class Crowd {
public:
    explicit Crowd(const Options& options)
        : options_(options), request_("GET /" + options.query + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"),
          poller_(epoll_create1(0)), viewers_(static_cast<std::size_t>(options.count))
    {
    }
    ~Crowd()
    {
        for (const Viewer& v : viewers_)
            if (!v.closed && v.fd >= 0) close(v.fd);
        close(poller_);
    }
    Crowd(const Crowd&) = delete;
    Crowd& operator=(const Crowd&) = delete;

    // Connections are opened a few at a time while the ones open are read,
    // as a crowd arrives; the count starts when the last has had a byte.
    void arrive()
    {
        const double arrival = now_s();
        while (served_ + failed_ < options_.count && now_s() - arrival < max_arrival_seconds) {
            for (int burst = 0; burst < opened_per_round && opened_ < options_.count; ++burst) open_one(opened_++);
            serve_events(opened_ < options_.count ? 1 : 100);
        }
        start_ = now_s();
        arriving_ = start_ - arrival;
    }

    void count()
    {
        long churned = 0;
        double next_sample = start_;
        busiest_kb_ = idle_kb_;
        for (double now = start_; now - start_ < options_.seconds; now = now_s()) {
            for (; options_.churn && churned < (now - start_) * churn_per_second; ++churned) {
                const int leaver = std::rand() % options_.count;
                Viewer& v = viewers_[static_cast<std::size_t>(leaver)];
                if (!v.closed) drop(v);
                v = Viewer{};
                open_one(leaver);
            }
            serve_events(100);
            if (options_.server_pid > 0 && now >= next_sample) {
                busiest_kb_ = std::max(busiest_kb_, resident_kb(options_.server_pid));
                next_sample += 0.5;
            }
        }
        elapsed_ = now_s() - start_;
        churned_ = churned;
    }

    int report() const;
    void note_idle() { idle_kb_ = options_.server_pid > 0 ? resident_kb(options_.server_pid) : -1; }

private:
    void open_one(int i);
    void drop(Viewer& v);
    void serve_events(int timeout_ms);
    void take_bytes(Viewer& v, const char* bytes, ssize_t got);
    void report_waits() const;

    const Options& options_;
    const std::string request_;
    const int poller_;
    std::vector<Viewer> viewers_;
    std::vector<epoll_event> events_ = std::vector<epoll_event>(1024);
    std::vector<char> buffer_ = std::vector<char>(1 << 16);
    int failed_ = 0, opened_ = 0, served_ = 0;
    long idle_kb_ = -1, busiest_kb_ = -1, churned_ = 0;
    double start_ = 0, arriving_ = 0, elapsed_ = 0;
};

void Crowd::open_one(int i)
{
    Viewer& v = viewers_[static_cast<std::size_t>(i)];
    v.fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    // 127.0.1.0 upwards: the third and fourth bytes count the addresses.
    const int address = i / options_.per_address;
    source.sin_addr.s_addr = htonl((127u << 24) | ((1u << 8) + static_cast<unsigned>(address)));
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<std::uint16_t>(options_.port));
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (v.fd < 0 || bind(v.fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        (connect(v.fd, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0 && errno != EINPROGRESS)) {
        ++failed_;
        v.closed = true;
        if (v.fd >= 0) close(v.fd);
        return;
    }
    epoll_event event{};
    event.events = EPOLLOUT;
    event.data.u32 = static_cast<std::uint32_t>(i);
    epoll_ctl(poller_, EPOLL_CTL_ADD, v.fd, &event);
    v.connecting = now_s();
}

void Crowd::drop(Viewer& v)
{
    epoll_ctl(poller_, EPOLL_CTL_DEL, v.fd, nullptr);
    close(v.fd);
    v.closed = true;
}

// Level-triggered, one read of up to 64 KB per ready socket a round: a
// socket not emptied in one round is ready again in the next, behind the
// others that were ready.
void Crowd::serve_events(int timeout_ms)
{
    const int ready = epoll_wait(poller_, events_.data(), static_cast<int>(events_.size()), timeout_ms);
    for (int e = 0; e < ready; ++e) {
        const epoll_event& event = events_[static_cast<std::size_t>(e)];
        Viewer& v = viewers_[event.data.u32];
        if (v.closed) continue;
        if ((event.events & EPOLLOUT) != 0) {
            if (write(v.fd, request_.data(), request_.size()) != static_cast<ssize_t>(request_.size())) {
                ++failed_;
                drop(v);
                continue;
            }
            epoll_event in{};
            in.events = EPOLLIN;
            in.data.u32 = event.data.u32;
            epoll_ctl(poller_, EPOLL_CTL_MOD, v.fd, &in);
            continue;
        }
        const ssize_t got = read(v.fd, buffer_.data(), buffer_.size());
        if (got <= 0) {
            failed_ += v.first_byte == 0 ? 1 : 0; // closed before a byte came
            drop(v);
            continue;
        }
        take_bytes(v, buffer_.data(), got);
    }
}

// Frames are counted only once the count has started, though their ends
// are matched from the first byte on.
void Crowd::take_bytes(Viewer& v, const char* bytes, ssize_t got)
{
    if (v.first_byte == 0) {
        v.first_byte = now_s();
        ++served_;
    }
    for (ssize_t b = 0; b < got; ++b) {
        v.matched = bytes[b] == frame_end[v.matched] ? v.matched + 1 : bytes[b] == frame_end[0] ? 1 : 0;
        if (v.matched != frame_end.size()) continue;
        v.matched = 0;
        if (start_ != 0) ++v.frames;
    }
}

// How long the viewers waited from connect() to the server's first byte: a
// handshake dropped by a full listen queue waits for the SYN to be sent again.
void Crowd::report_waits() const
{
    std::vector<double> waits;
    for (const Viewer& v : viewers_)
        if (v.first_byte != 0) waits.push_back(v.first_byte - v.connecting);
    if (waits.empty()) return;
    std::sort(waits.begin(), waits.end());
    std::printf("first byte after connect(): median %.3f s  99%% %.3f s  max %.3f s  never %d\n",
                waits[waits.size() / 2], waits[waits.size() * 99 / 100], waits.back(),
                options_.count - static_cast<int>(waits.size()));
}

int Crowd::report() const
{
    const double due = elapsed_ * 10;
    std::vector<long> frames;
    int closed = 0, met = 0;
    for (const Viewer& v : viewers_) {
        closed += v.closed ? 1 : 0;
        frames.push_back(v.frames);
        met += v.frames >= 0.95 * due ? 1 : 0;
    }
    std::sort(frames.begin(), frames.end());
    std::printf("viewers %d  connect_failed %d  closed_early %d  arriving %.1f s  counted %.1f s  frames_due %.0f\n",
                options_.count, failed_, closed, arriving_, elapsed_, due);
    report_waits();
    if (options_.churn) {
        std::printf("churned %ld viewers\n", churned_);
        return failed_ == 0 ? 0 : 1;
    }
    std::printf("frames per viewer: min %ld  1%% %ld  median %ld  max %ld\n", frames.front(),
                frames[frames.size() / 100], frames[frames.size() / 2], frames.back());
    std::printf("viewers with at least 95%% of their frames: %d of %d (%.1f%%)\n", met, options_.count,
                100.0 * met / options_.count);
    if (options_.server_pid > 0)
        std::printf("server resident: idle %ld KB, busiest %ld KB, %.1f KB per viewer\n", idle_kb_, busiest_kb_,
                    static_cast<double>(busiest_kb_ - idle_kb_) / options_.count);
    return met * 100 >= options_.count * 95 && failed_ == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: server_load PORT VIEWERS SECONDS PER_ADDRESS [SERVER_PID] [QUERY] [churn]\n");
        return 2;
    }
    Options options;
    options.port = std::atoi(argv[1]);
    options.count = std::clamp(std::atoi(argv[2]), 1, max_viewers);
    options.seconds = std::clamp(std::atoi(argv[3]), 1, max_seconds);
    options.per_address = std::clamp(std::atoi(argv[4]), 1, 1000);
    options.server_pid = argc > 5 ? std::atoi(argv[5]) : 0;
    options.query = argc > 6 ? argv[6] : "";
    options.churn = argc > 7 && std::string_view(argv[7]) == "churn";

    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, static_cast<rlim_t>(options.count) + 64);
    setrlimit(RLIMIT_NOFILE, &limit);

    Crowd crowd(options);
    crowd.note_idle();
    crowd.arrive();
    crowd.count();
    return crowd.report();
}
