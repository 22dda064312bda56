#include "host/server/server.h"

#include <arpa/inet.h>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <event2/buffer.h>
#include <event2/bufferevent.h>
#include <event2/event.h>
#include <event2/listener.h>
#include <iostream>
#include <malloc.h>
#include <map>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "engine/tick.h"
#include "host/common/default_seed.h"
#include "host/server/address_range.h"
#include "host/server/frame_encoder.h"
#include "host/server/http_request.h"
#include "host/server/listening.h"
#include "host/server/proxy_header.h"
#include "host/server/telnet_negotiation.h"
#include "host/server/web_root.h"
#include "population/population.h"
#include "render/compose.h"

namespace gm {

namespace {

constexpr const char* program = "glyphmarinae-server";
constexpr std::size_t max_queued_per_viewer = 256 * 1024;
constexpr std::size_t max_queued_in_all = 256 * 1024 * 1024;
constexpr timeval handshake_limit = {5, 0};
constexpr timeval tick_period = {0, 100'000};
constexpr timeval goodbye_limit = {2, 0};
// Cells of every viewer's picture together: 10,000 viewers at 80x24, or
// four at the largest size, whichever is more.
constexpr std::int64_t min_cell_budget = 4'000'000;

constexpr std::string_view telnet_start = "\x1b[?1049h\x1b[?25l\x1b[H\x1b[2J";
constexpr std::string_view telnet_end = "\x1b[0m\x1b[?25h\x1b[?1049l";
constexpr std::string_view http_start = "\x1b[H\x1b[2J";

enum class Protocol { http, telnet };
enum class Phase { handshake, viewing, closing };

// Viewers from one IPv4 address, or one IPv6 /64, are counted together: the
// family, then the address's first four or eight bytes.
using AddressKey = std::array<unsigned char, 9>;

struct Tank;
struct Server;

struct Connection {
    Server* server = nullptr;
    Protocol protocol = Protocol::http;
    bufferevent* bev = nullptr;
    event* timer = nullptr;
    AddressKey key{};
    std::string peer;
    bool loopback = false;
    Phase phase = Phase::handshake;
    std::string head; // the HTTP request so far, or the PROXY header
    bool proxied = false; // from a trusted balancer, its PROXY header still to come
    bool heard = false;   // any byte has come
    bool balancer_own = false; // the balancer's own connection, such as a health check
    std::unique_ptr<TelnetNegotiation> telnet;
    std::size_t index = 0; // in the server's list

    // While viewing.
    ViewSize size;
    ColourDepth depth = ColourDepth::palette256;
    std::optional<std::uint32_t> seed;
    std::optional<std::int64_t> ticks_left;
    Tank* tank = nullptr;
    std::size_t tank_index = 0;
    bool in_step = false; // received every frame of its tank so far
    CellGrid sent;        // the last complete picture it received, while not in step
    std::int64_t cells = 0;
    evbuffer_cb_entry* queue_count = nullptr;
};

// A tank's encoded frame, queued by reference to each viewer in step: the
// crowd shares its bytes, which live until the last queue holding them has
// sent them, so a tick costs no copy of the frame per viewer.
struct SharedFrame {
    std::string bytes;
    int holders = 1; // the tank that encoded it, and each queue it is in
};

void release_frame(const void*, std::size_t, void* frame)
{
    auto* shared = static_cast<SharedFrame*>(frame);
    if (--shared->holders == 0) delete shared;
}

// One aquarium and the viewers that watch it. Viewers of one size and colour
// depth who named no seed share one; a viewer who named a seed has its own,
// as its frames must be those of that seed from the start.
struct Tank {
    ViewSize size;
    ColourDepth depth = ColourDepth::palette256;
    bool shared = false;
    Scene scene;
    CellGrid last; // what the viewers in step have
    PaintPlan plan;
    SharedFrame* frame = new SharedFrame;
    std::vector<Connection*> viewers;

    Tank() = default;
    Tank(const Tank&) = delete;
    Tank& operator=(const Tank&) = delete;
    ~Tank() { release_frame(nullptr, 0, frame); }
    // The frame to encode this tick into: last tick's own, unless a queue
    // still holds it.
    std::string& next_frame()
    {
        if (frame->holders > 1) {
            release_frame(nullptr, 0, frame);
            frame = new SharedFrame;
        }
        frame->bytes.clear();
        return frame->bytes;
    }
};

struct Counters {
    std::uint64_t viewers_http = 0, viewers_telnet = 0;
    std::uint64_t refused_full = 0, refused_address = 0, refused_cells = 0, refused_bad = 0, refused_slow = 0;
    std::uint64_t failed = 0;
    std::uint64_t bytes_sent = 0, frames_sent = 0, frames_skipped = 0;
};

struct Server {
    const ServerOptions* options = nullptr;
    std::string web_root; // resolved of links, "" for none
    event_base* base = nullptr;
    std::vector<evconnlistener*> listeners;
    std::vector<Connection*> connections;
    std::map<AddressKey, int> per_address;
    std::map<std::tuple<std::int32_t, std::int32_t, int>, Tank*> shared_tanks;
    std::vector<std::unique_ptr<Tank>> tanks;
    PaintPlan catch_up_plan;
    std::string scratch;
    std::size_t queued = 0;
    std::int64_t cells = 0, cell_budget = 0;
    int max_viewers = 0;
    bool stopping = false;
    event* ticker = nullptr;
    std::chrono::steady_clock::time_point tick_due;
    Counters counters;
};

void log_line(const Server& server, const std::string& peer, std::string_view what)
{
    if (!server.options->quiet) std::cerr << program << ": " << peer << ": " << what << "\n";
}

void close_now(Connection* c);

void start_closing(Connection* c)
{
    c->phase = Phase::closing;
    bufferevent_disable(c->bev, EV_READ);
    // With nothing left to send it closes from the loop, not here: the read
    // callback that got here still looks at the connection on its way out.
    if (evbuffer_get_length(bufferevent_get_output(c->bev)) == 0) return event_active(c->timer, EV_TIMEOUT, 0);
    evtimer_add(c->timer, &goodbye_limit);
}

void write_bytes(Connection* c, std::string_view bytes) { bufferevent_write(c->bev, bytes.data(), bytes.size()); }

// An HTTP answer that is not the aquarium: a status line and one line of text.
void answer(Connection* c, std::string_view status, std::string_view type, std::string_view body, bool head_only)
{
    std::string out = "HTTP/1.1 ";
    out += status;
    out += "\r\nContent-Type: ";
    out += type;
    out += "\r\nContent-Length: " + std::to_string(body.size());
    out += "\r\nCache-Control: no-store\r\nVary: Accept\r\nConnection: close\r\n\r\n";
    if (!head_only) out += body;
    write_bytes(c, out);
    start_closing(c);
}

void refuse(Connection* c, std::string_view status, std::string_view reason)
{
    log_line(*c->server, c->peer, reason);
    if (c->protocol == Protocol::http) return answer(c, status, "text/plain; charset=utf-8", std::string(reason) + "\n", false);
    write_bytes(c, std::string(program) + ": " + std::string(reason) + "\r\n");
    start_closing(c);
}

// ---- tanks

void leave_tank(Connection* c)
{
    Tank* tank = c->tank;
    if (tank == nullptr) return;
    tank->viewers[c->tank_index] = tank->viewers.back();
    tank->viewers[c->tank_index]->tank_index = c->tank_index;
    tank->viewers.pop_back();
    c->tank = nullptr;
    c->sent = CellGrid{};
    if (!tank->viewers.empty()) return;
    if (tank->shared) c->server->shared_tanks.erase({tank->size.columns, tank->size.rows, static_cast<int>(tank->depth)});
    auto& tanks = c->server->tanks;
    for (auto& owned : tanks)
        if (owned.get() == tank) {
            owned = std::move(tanks.back());
            tanks.pop_back();
            break;
        }
}

// Sends what changed between the viewer's last complete picture and its
// tank's now, and puts it in step.
void catch_up(Connection* c)
{
    Server& server = *c->server;
    server.catch_up_plan.make(c->sent, c->tank->scene.grid);
    server.scratch.clear();
    append_frame(server.scratch, server.catch_up_plan, c->size.rows, c->depth);
    write_bytes(c, server.scratch);
    ++server.counters.frames_sent;
    c->in_step = true;
    c->sent = CellGrid{};
}

void join_tank(Connection* c)
{
    Server& server = *c->server;
    Tank* tank = nullptr;
    const auto key = std::make_tuple(c->size.columns, c->size.rows, static_cast<int>(c->depth));
    if (!c->seed)
        if (auto found = server.shared_tanks.find(key); found != server.shared_tanks.end()) tank = found->second;
    if (tank == nullptr) {
        auto made = std::make_unique<Tank>();
        tank = made.get();
        tank->size = c->size;
        tank->depth = c->depth;
        tank->shared = !c->seed;
        start_scene(tank->scene, c->size.columns, c->size.rows, c->seed.value_or(default_seed()));
        compose(tank->scene);
        tank->last = tank->scene.grid;
        server.tanks.push_back(std::move(made));
        if (tank->shared) server.shared_tanks[key] = tank;
    }
    c->tank = tank;
    c->tank_index = tank->viewers.size();
    tank->viewers.push_back(c);
    c->sent = CellGrid{};
    catch_up(c);
}

void finish_viewing(Connection* c, std::string_view goodbye)
{
    leave_tank(c);
    if (c->protocol == Protocol::telnet) write_bytes(c, telnet_end);
    // The HTTP cursor rests on the picture's last row: a word goes below it.
    else write_bytes(c, goodbye.empty() ? "\x1b[0m" : "\x1b[0m\r\n");
    if (!goodbye.empty()) write_bytes(c, std::string(goodbye) + "\r\n");
    start_closing(c);
}

// The shared frame queued by reference: the crowd's queues hold one copy.
void send_frame(Connection* c, SharedFrame& frame)
{
    ++frame.holders;
    if (evbuffer_add_reference(bufferevent_get_output(c->bev), frame.bytes.data(), frame.bytes.size(), release_frame,
                               &frame) != 0)
        --frame.holders;
}

// The frame a tank's tick made, to each of its viewers in step that has room
// for it; a viewer without room falls out of step and is caught up when its
// queue drains. A viewer whose ticks are done gets its last frame whole.
void hand_out(Server& server, Tank& tank)
{
    std::vector<Connection*> viewers = tank.viewers;
    for (Connection* c : viewers) {
        const bool last = c->ticks_left && --*c->ticks_left == 0;
        const std::size_t queued = evbuffer_get_length(bufferevent_get_output(c->bev));
        if (c->in_step) {
            SharedFrame& frame = *tank.frame;
            if (queued + frame.bytes.size() <= max_queued_per_viewer && server.queued <= max_queued_in_all) {
                // Even a frame with no change goes out: the viewer sees the
                // stream is alive, and a crowd's frames can be counted.
                send_frame(c, frame);
                ++server.counters.frames_sent;
            } else {
                c->in_step = false;
                c->sent = tank.last;
                ++server.counters.frames_skipped;
            }
        } else {
            ++server.counters.frames_skipped;
        }
        if (last) {
            if (!c->in_step) catch_up(c);
            finish_viewing(c, "");
        }
    }
}

// The next tick is due a period after the last one was due, not after it
// ran: a tick that a busy machine delays is made up at once, so the viewers
// still get ten frames a second and the aquarium keeps its pace. Behind by
// more than a second, it starts counting again from now.
void schedule_tick(Server& server)
{
    using std::chrono::steady_clock;
    const steady_clock::time_point now = steady_clock::now();
    server.tick_due += std::chrono::microseconds(tick_period.tv_usec);
    if (server.tick_due < now - std::chrono::seconds(1)) server.tick_due = now;
    const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(
        std::max(server.tick_due - now, steady_clock::duration{}));
    const timeval delay = {static_cast<time_t>(wait.count() / 1'000'000),
                           static_cast<suseconds_t>(wait.count() % 1'000'000)};
    evtimer_add(server.ticker, &delay);
}

void on_tick(evutil_socket_t, short, void* arg)
{
    Server& server = *static_cast<Server*>(arg);
    schedule_tick(server);
    for (std::size_t i = 0; i < server.tanks.size(); ++i) {
        Tank& tank = *server.tanks[i];
        tick(tank.scene);
        compose(tank.scene);
        tank.plan.make(tank.last, tank.scene.grid);
        append_frame(tank.next_frame(), tank.plan, tank.size.rows, tank.depth);
        // A tank whose last viewer finished here is gone after hand_out.
        Tank* before = server.tanks[i].get();
        hand_out(server, tank);
        if (i < server.tanks.size() && server.tanks[i].get() == before) before->last = before->scene.grid;
        else --i;
    }
    for (Connection* c : std::vector<Connection*>(server.connections))
        if (c->phase == Phase::viewing && !c->in_step &&
            evbuffer_get_length(bufferevent_get_output(c->bev)) == 0)
            catch_up(c);
}

// ---- viewers

std::string reserve_cells(Connection* c, ViewSize size)
{
    Server& server = *c->server;
    const std::int64_t wanted = static_cast<std::int64_t>(size.columns) * size.rows;
    if (server.cells - c->cells + wanted > server.cell_budget) return "the server has no room for a picture that size now";
    server.cells += wanted - c->cells;
    c->cells = wanted;
    return {};
}

void start_viewing(Connection* c)
{
    if (const std::string reason = reserve_cells(c, c->size); !reason.empty()) {
        ++c->server->counters.refused_cells;
        return refuse(c, "503 Service Unavailable", reason);
    }
    c->phase = Phase::viewing;
    evtimer_del(c->timer);
    const timeval session = {static_cast<time_t>(c->server->options->session_limit), 0};
    evtimer_add(c->timer, &session);
    if (c->protocol == Protocol::http) {
        ++c->server->counters.viewers_http;
        write_bytes(c, "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\nCache-Control: no-store\r\n"
                       "Vary: Accept\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n");
        write_bytes(c, http_start);
    } else {
        ++c->server->counters.viewers_telnet;
        write_bytes(c, telnet_start);
    }
    join_tank(c);
    if (c->ticks_left && *c->ticks_left == 0) finish_viewing(c, "");
}

std::string status_text(const Server& server)
{
    const Counters& n = server.counters;
    std::size_t viewing = 0;
    for (const Connection* c : server.connections) viewing += c->phase == Phase::viewing;
    std::string out;
    auto line = [&](std::string_view name, std::uint64_t value) {
        out += name;
        out += ' ';
        out += std::to_string(value);
        out += '\n';
    };
    line("connections", server.connections.size());
    line("viewers", viewing);
    line("aquariums", server.tanks.size());
    line("viewers_served_http", n.viewers_http);
    line("viewers_served_telnet", n.viewers_telnet);
    line("refused_full", n.refused_full);
    line("refused_per_address", n.refused_address);
    line("refused_no_room", n.refused_cells);
    line("refused_bad_request", n.refused_bad);
    line("refused_too_slow", n.refused_slow);
    line("failed", n.failed);
    line("bytes_queued", server.queued);
    line("bytes_sent", n.bytes_sent);
    line("frames_sent", n.frames_sent);
    line("frames_skipped", n.frames_skipped);
    return out;
}

std::string html_page(const RequestHead& head)
{
    std::string host;
    for (char c : head.host)
        if (std::isalnum(static_cast<unsigned char>(c)) || std::strchr(".:-[]", c) != nullptr) host += c;
    if (host.empty()) host = "HOST:PORT";
    return "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Glyphmarinae</title></head>\n"
           "<body><h1>Glyphmarinae</h1><p>This aquarium swims in a terminal. Watch it with</p>\n"
           "<pre>curl -N \"http://" + host + "/?size=${COLUMNS}x${LINES}\"</pre>\n"
           "<p>or <code>telnet</code> to this server's telnet port, if it has one.</p></body></html>\n";
}

// A file of the web page, sent from the kernel's cache without a copy here.
void send_web_file(Connection* c, const std::string& path, bool head_only)
{
    const std::optional<std::string> file = web_file(c->server->web_root, path);
    const int fd = file ? open(file->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
    struct stat about {};
    if (fd < 0 || fstat(fd, &about) != 0 || !S_ISREG(about.st_mode)) {
        if (fd >= 0) close(fd);
        return answer(c, "404 Not Found", "text/plain; charset=utf-8", "no such page\n", head_only);
    }
    std::string out = "HTTP/1.1 200 OK\r\nContent-Type: ";
    out += web_type(*file);
    out += "\r\nContent-Length: " + std::to_string(about.st_size);
    out += "\r\nVary: Accept\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n";
    write_bytes(c, out);
    if (head_only || about.st_size == 0 || evbuffer_add_file(bufferevent_get_output(c->bev), fd, 0, about.st_size) != 0)
        close(fd);
    start_closing(c);
}

void take_request(Connection* c)
{
    const HeadRead read = read_request_head(c->head);
    if (read.state == HeadState::incomplete) return;
    bufferevent_disable(c->bev, EV_READ);
    if (read.state == HeadState::bad) {
        ++c->server->counters.refused_bad;
        return refuse(c, "400 Bad Request", read.reason);
    }
    const RequestHead& head = read.head;
    const bool head_only = head.method == "HEAD";
    if (head.method != "GET" && !head_only) {
        ++c->server->counters.refused_bad;
        return refuse(c, "405 Method Not Allowed", "only GET and HEAD are answered here");
    }
    if (head.path == "/status") {
        if (!c->loopback) return answer(c, "403 Forbidden", "text/plain; charset=utf-8", "status is answered only to loopback\n", head_only);
        return answer(c, "200 OK", "text/plain; charset=utf-8", status_text(*c->server), head_only);
    }
    const bool page = head.path != "/" || head.wants_html;
    if (page && !c->server->web_root.empty()) return send_web_file(c, head.path, head_only);
    if (head.path != "/") return answer(c, "404 Not Found", "text/plain; charset=utf-8", "no such page; the aquarium is at /\n", head_only);
    if (head.wants_html) return answer(c, "200 OK", "text/html; charset=utf-8", html_page(head), head_only);
    ViewRequest request;
    if (const std::string reason = read_view_query(head.query, request); !reason.empty()) {
        ++c->server->counters.refused_bad;
        return refuse(c, "400 Bad Request", reason);
    }
    if (head_only) return answer(c, "200 OK", "text/plain; charset=utf-8", "", true);
    c->size = request.size;
    c->seed = request.seed;
    c->ticks_left = request.ticks;
    c->depth = request.depth;
    start_viewing(c);
}

ColourDepth telnet_depth(const std::string& type)
{
    std::string lower;
    for (char ch : type) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const int colours = lower.find("256") != std::string::npos ? 256 : lower == "dumb" ? 0 : 16;
    return colour_depth_for("", lower, colours);
}

void take_telnet(Connection* c, std::span<const char> bytes)
{
    TelnetNegotiation& telnet = *c->telnet;
    telnet.receive(bytes);
    write_bytes(c, telnet.take_output());
    if (!telnet.failure().empty()) {
        ++c->server->counters.failed;
        if (c->phase == Phase::viewing) {
            log_line(*c->server, c->peer, telnet.failure());
            return finish_viewing(c, std::string(program) + ": " + telnet.failure());
        }
        return refuse(c, "", telnet.failure());
    }
    if (c->phase == Phase::handshake) {
        // A key typed before the picture ends it as one typed during it
        // would; nothing has been drawn yet that needs taking back.
        if (telnet.key_pressed()) return start_closing(c);
        if (!telnet.settled()) return;
        telnet.take_new_size();
        c->size = telnet.size();
        c->depth = telnet_depth(telnet.terminal_type());
        return start_viewing(c);
    }
    if (telnet.key_pressed()) return finish_viewing(c, "");
    if (const std::optional<ViewSize> size = telnet.take_new_size(); size && !(*size == c->size)) {
        if (const std::string reason = reserve_cells(c, *size); !reason.empty())
            return finish_viewing(c, std::string(program) + ": " + reason);
        leave_tank(c);
        c->size = *size;
        write_bytes(c, "\x1b[0m\x1b[H\x1b[2J");
        join_tank(c);
    }
}

AddressKey address_key(const sockaddr* address, std::string& text, bool& loopback);
void admit(Connection* c);

void uncount(Server& server, const AddressKey& key)
{
    if (--server.per_address[key] == 0) server.per_address.erase(key);
}

// Only a trusted balancer may say whose a connection is: neither another
// address nor a viewer behind the balancer.
bool refused_untrusted_header(Connection* c, std::string_view first_bytes)
{
    c->heard = true;
    if (!starts_as_proxy_header(first_bytes)) return false;
    ++c->server->counters.refused_bad;
    refuse(c, "400 Bad Request", "a PROXY header is taken only from a --trusted-proxy address");
    return true;
}

// From a trusted balancer the viewer is the one its header names: the limits
// count that address, and what follows the header is the viewer's own.
void take_proxy_header(Connection* c, std::string_view bytes)
{
    c->head.append(bytes);
    const ProxyRead read = read_proxy_header(c->head);
    if (read.state == ProxyState::incomplete) return;
    c->proxied = false;
    if (read.state == ProxyState::bad) {
        ++c->server->counters.refused_bad;
        return refuse(c, "400 Bad Request", read.reason);
    }
    c->balancer_own = !read.source;
    if (read.source) {
        uncount(*c->server, c->key);
        c->key = address_key(reinterpret_cast<const sockaddr*>(&*read.source), c->peer, c->loopback);
        ++c->server->per_address[c->key];
    }
    const std::string rest = c->head.substr(read.consumed);
    c->head.clear();
    if (!rest.empty() && refused_untrusted_header(c, rest)) return;
    admit(c);
    if (c->phase != Phase::handshake || rest.empty()) return;
    if (c->protocol == Protocol::telnet) return take_telnet(c, rest);
    c->head = rest.substr(0, max_request_head + 1);
    take_request(c);
}

void on_read(bufferevent* bev, void* arg)
{
    Connection* c = static_cast<Connection*>(arg);
    evbuffer* input = bufferevent_get_input(bev);
    char buffer[4096];
    while (c->phase != Phase::closing) {
        const int got = evbuffer_remove(input, buffer, sizeof buffer);
        if (got <= 0) break;
        const std::string_view bytes(buffer, static_cast<std::size_t>(got));
        if (c->proxied) take_proxy_header(c, bytes);
        else if (!c->heard && refused_untrusted_header(c, bytes)) break;
        else if (c->protocol == Protocol::telnet) {
            take_telnet(c, bytes);
        } else if (c->phase == Phase::handshake) {
            c->head.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(got), max_request_head + 1 - c->head.size()));
            take_request(c);
        }
        if (c->phase == Phase::closing) break;
    }
    if (c->phase == Phase::closing) evbuffer_drain(input, evbuffer_get_length(input));
}

void on_write(bufferevent*, void* arg)
{
    Connection* c = static_cast<Connection*>(arg);
    if (c->phase == Phase::closing) return close_now(c);
    if (c->phase == Phase::viewing && !c->in_step) catch_up(c);
}

void on_event(bufferevent*, short what, void* arg)
{
    Connection* c = static_cast<Connection*>(arg);
    // A balancer's health check may well end in a reset: no failure of a viewer's.
    if ((what & BEV_EVENT_ERROR) != 0 && c->phase == Phase::handshake && !c->balancer_own) {
        ++c->server->counters.failed;
        log_line(*c->server, c->peer, std::string("connection failed: ") + evutil_socket_error_to_string(EVUTIL_SOCKET_ERROR()));
    }
    close_now(c);
}

void on_timer(evutil_socket_t, short, void* arg)
{
    Connection* c = static_cast<Connection*>(arg);
    switch (c->phase) {
    case Phase::handshake:
        ++c->server->counters.refused_slow;
        log_line(*c->server, c->peer, c->protocol == Protocol::http ? "no whole request within 5 seconds" : "no negotiation within 5 seconds");
        return close_now(c);
    case Phase::viewing:
        return finish_viewing(c, std::string(program) + ": the session limit of " +
                                     std::to_string(c->server->options->session_limit) + " s is reached; goodbye");
    case Phase::closing: return close_now(c);
    }
}

void count_queue(evbuffer*, const evbuffer_cb_info* info, void* arg)
{
    Server& server = *static_cast<Server*>(arg);
    server.queued += info->n_added;
    server.queued -= info->n_deleted;
    server.counters.bytes_sent += info->n_deleted;
}

void close_now(Connection* c)
{
    Server& server = *c->server;
    leave_tank(c);
    server.cells -= c->cells;
    uncount(server, c->key);
    server.connections[c->index] = server.connections.back();
    server.connections[c->index]->index = c->index;
    server.connections.pop_back();
    evbuffer* output = bufferevent_get_output(c->bev);
    evbuffer_remove_cb_entry(output, c->queue_count);
    server.queued -= evbuffer_get_length(output);
    bufferevent_free(c->bev);
    event_free(c->timer);
    delete c;
    if (!server.connections.empty()) return;
    // A crowd leaves the allocator's arenas full of free memory; an idle
    // server gives it back.
    malloc_trim(0);
    if (server.stopping) event_base_loopexit(server.base, nullptr);
}

AddressKey address_key(const sockaddr* address, std::string& text, bool& loopback)
{
    AddressKey key{};
    char shown[INET6_ADDRSTRLEN] = "?";
    const PeerBytes peer = peer_bytes(address);
    if (peer.family == AF_INET) {
        key[0] = 4;
        std::memcpy(key.data() + 1, peer.bytes, 4);
        loopback = peer.bytes[0] == 127;
    } else if (peer.family == AF_INET6) {
        key[0] = 6;
        std::memcpy(key.data() + 1, peer.bytes, 8);
        loopback = IN6_IS_ADDR_LOOPBACK(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr);
    }
    // Shown as the socket gives it, a mapped IPv4 address in its IPv6 form.
    if (address->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, shown, sizeof shown);
    else if (address->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr, shown, sizeof shown);
    text = shown;
    return key;
}

// Asked once the connection is counted, so that the limits include it, and a
// refusal goes out on its own socket like any other last words.
void admit(Connection* c)
{
    Server& server = *c->server;
    if (server.stopping) return refuse(c, "503 Service Unavailable", "the server is shutting down");
    if (static_cast<int>(server.connections.size()) > server.max_viewers) {
        ++server.counters.refused_full;
        return refuse(c, "503 Service Unavailable", "the server is full");
    }
    if (server.per_address[c->key] > server.options->max_per_address) {
        ++server.counters.refused_address;
        return refuse(c, "429 Too Many Requests", "too many viewers from one address");
    }
    if (c->protocol == Protocol::telnet) {
        c->telnet = std::make_unique<TelnetNegotiation>();
        write_bytes(c, c->telnet->take_output());
    }
}

template <Protocol protocol>
void on_accept(evconnlistener*, evutil_socket_t fd, sockaddr* address, int, void* arg)
{
    Server& server = *static_cast<Server*>(arg);
    auto* c = new Connection;
    c->server = &server;
    c->protocol = protocol;
    c->key = address_key(address, c->peer, c->loopback);
    c->proxied = in_ranges(server.options->trusted_proxies, address);
    c->bev = bufferevent_socket_new(server.base, fd, BEV_OPT_CLOSE_ON_FREE);
    c->timer = evtimer_new(server.base, on_timer, c);
    if (c->bev == nullptr || c->timer == nullptr) {
        if (c->bev != nullptr) bufferevent_free(c->bev);
        else evutil_closesocket(fd);
        if (c->timer != nullptr) event_free(c->timer);
        delete c;
        return;
    }
    c->index = server.connections.size();
    server.connections.push_back(c);
    ++server.per_address[c->key];
    c->queue_count = evbuffer_add_cb(bufferevent_get_output(c->bev), count_queue, &server);
    bufferevent_setcb(c->bev, on_read, on_write, on_event, c);
    bufferevent_enable(c->bev, EV_READ | EV_WRITE);
    evtimer_add(c->timer, &handshake_limit);
    // A balancer's connection is admitted as the viewer its header names.
    if (!c->proxied) admit(c);
}

void on_accept_error(evconnlistener* listener, void* arg)
{
    Server& server = *static_cast<Server*>(arg);
    const int error = EVUTIL_SOCKET_ERROR();
    log_line(server, "listener", std::string("cannot accept: ") + evutil_socket_error_to_string(error));
    // Out of descriptors, the listener would wake at once again: it rests
    // for a tick while viewers leave.
    evconnlistener_disable(listener);
    event_base_once(server.base, -1, EV_TIMEOUT, [](evutil_socket_t, short, void* l) {
        evconnlistener_enable(static_cast<evconnlistener*>(l));
    }, listener, &tick_period);
}

void on_stop(evutil_socket_t, short, void* arg)
{
    Server& server = *static_cast<Server*>(arg);
    if (server.stopping) return;
    server.stopping = true;
    for (evconnlistener* listener : server.listeners) evconnlistener_disable(listener);
    for (Connection* c : std::vector<Connection*>(server.connections)) {
        if (c->phase == Phase::viewing) finish_viewing(c, std::string(program) + ": the server is shutting down; goodbye");
        else if (c->phase == Phase::handshake) close_now(c);
    }
    if (server.connections.empty()) event_base_loopexit(server.base, nullptr);
    else event_base_loopexit(server.base, &goodbye_limit);
}

// ---- start

// The viewers the descriptor limit allows, raised as far as it may go.
int raise_descriptor_limit(int wanted_viewers)
{
    constexpr int spare = 64; // listeners, the event loop's own, standard streams
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t wanted = static_cast<rlim_t>(wanted_viewers) + spare;
    if (limit.rlim_cur >= wanted) return wanted_viewers;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= wanted ? wanted : limit.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur >= wanted) return wanted_viewers;
    getrlimit(RLIMIT_NOFILE, &limit);
    const int allowed = limit.rlim_cur > spare ? static_cast<int>(limit.rlim_cur - spare) : 1;
    std::cerr << program << ": cannot raise the descriptor limit to " << wanted << " (the hard limit is "
              << limit.rlim_max << "): serving at most " << allowed << " viewers\n";
    return allowed;
}

using ListeningSocket = std::pair<int, Protocol>;

// Every socket is bound while still root and root is given up only then;
// should any of it fail, none is left open.
std::optional<std::vector<ListeningSocket>> open_sockets(const ServerOptions& options,
                                                         const std::vector<HandedSocket>& handed)
{
    std::vector<ListeningSocket> sockets;
    std::string reason;
    for (const HandedSocket& socket : handed) {
        if (socket.name != "http" && socket.name != "telnet") {
            reason = "systemd handed over a socket named '" + socket.name + "': name it http or telnet";
            break;
        }
        sockets.emplace_back(socket.fd, socket.name == "http" ? Protocol::http : Protocol::telnet);
    }
    for (const auto& [where, protocol] : {std::pair{options.http, Protocol::http}, std::pair{options.telnet, Protocol::telnet}}) {
        if (!where || !reason.empty()) continue;
        int fd = -1;
        reason = listen_at(*where, options.reuse_port, fd);
        if (!reason.empty()) break;
        sockets.emplace_back(fd, protocol);
    }
    if (reason.empty()) reason = drop_root(options.user);
    if (reason.empty()) return sockets;
    std::cerr << program << ": " << reason << "\n";
    for (const auto& [open, unused] : sockets) close(open);
    return std::nullopt;
}

// Each file asked for is resolved and must lie under the root, so the root is
// resolved too; one that cannot be read stops the start, not each request.
bool resolve_web_root(Server& server)
{
    const ServerOptions& options = *server.options;
    if (options.web_root.empty()) return true;
    char resolved[PATH_MAX];
    if (realpath(options.web_root.c_str(), resolved) == nullptr) {
        std::cerr << program << ": cannot read --web-root " << options.web_root << ": " << std::strerror(errno) << "\n";
        return false;
    }
    server.web_root = resolved;
    return true;
}

// Runs until a signal stops the server and its viewers have had their goodbye.
void run_event_loop(Server& server, const std::vector<ListeningSocket>& sockets)
{
    for (const auto& [fd, protocol] : sockets) {
        // A backlog of 0 leaves the socket's own: libevent's default (-1)
        // listens again with 128, and a crowd arriving at once overflows it.
        evconnlistener* listener = evconnlistener_new(
            server.base, protocol == Protocol::http ? on_accept<Protocol::http> : on_accept<Protocol::telnet>, &server,
            LEV_OPT_CLOSE_ON_FREE | LEV_OPT_CLOSE_ON_EXEC, 0, fd);
        evconnlistener_set_error_cb(listener, on_accept_error);
        server.listeners.push_back(listener);
    }
    server.ticker = evtimer_new(server.base, on_tick, &server);
    server.tick_due = std::chrono::steady_clock::now();
    schedule_tick(server);
    event* term = evsignal_new(server.base, SIGTERM, on_stop, &server);
    event* interrupt = evsignal_new(server.base, SIGINT, on_stop, &server);
    event_add(term, nullptr);
    event_add(interrupt, nullptr);

    event_base_dispatch(server.base);

    for (Connection* c : std::vector<Connection*>(server.connections)) close_now(c);
    for (evconnlistener* listener : server.listeners) evconnlistener_free(listener);
    event_free(server.ticker);
    event_free(term);
    event_free(interrupt);
}

} // namespace

int serve(const ServerOptions& options, const std::vector<HandedSocket>& handed)
{
    if (geteuid() == 0 && options.user.empty()) {
        std::cerr << program << ": will not run as root: give --user NAME to become once listening\n";
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);
    Server server;
    server.options = &options;
    if (!resolve_web_root(server)) return 2;
    server.max_viewers = raise_descriptor_limit(options.max_viewers);
    server.cell_budget = std::max<std::int64_t>(min_cell_budget, static_cast<std::int64_t>(server.max_viewers) * 80 * 24);

    const std::optional<std::vector<ListeningSocket>> sockets = open_sockets(options, handed);
    if (!sockets) return 1;
    server.base = event_base_new();
    if (server.base == nullptr) {
        std::cerr << program << ": cannot start the event loop\n";
        return 1;
    }
    run_event_loop(server, *sockets);
    event_base_free(server.base);
    return 0;
}

} // namespace gm
