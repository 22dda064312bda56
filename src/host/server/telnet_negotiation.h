#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "host/server/telnet_size.h"

struct telnet_t;
union telnet_event_t;

namespace gm {

// A subnegotiation may carry at most this many bytes.
inline constexpr std::size_t max_subnegotiation = 64;

// One telnet viewer's side of the protocol, through libtelnet: it asks for
// the window size and the terminal type and offers echo and suppress
// go-ahead, so that the client sends each key at once and shows none. It
// knows nothing of sockets: bytes come in through receive() and go out
// through take_output().
class TelnetNegotiation {
public:
    TelnetNegotiation();
    ~TelnetNegotiation();
    TelnetNegotiation(const TelnetNegotiation&) = delete;
    TelnetNegotiation& operator=(const TelnetNegotiation&) = delete;

    void receive(std::span<const char> bytes);
    std::string take_output() { return std::exchange(output_, {}); }

    // Both the size and the terminal type are answered, if only with "no".
    bool settled() const { return size_answered_ && type_answered_; }
    ViewSize size() const { return size_; }
    // A size the client sent since the last call, answered or not before.
    std::optional<ViewSize> take_new_size() { return std::exchange(new_size_, std::nullopt); }
    const std::string& terminal_type() const { return terminal_type_; }
    bool key_pressed() const { return key_pressed_; }
    // Why the connection must close: "" while it need not.
    const std::string& failure() const { return failure_; }

private:
    static void on_event(telnet_t*, telnet_event_t* event, void* self);
    void handle(const telnet_event_t& event);
    void take_will(unsigned char option);
    void take_subnegotiation(const telnet_event_t& event);
    void take_terminal_type(const char* name);
    void refuse_once(unsigned char answer, unsigned char option);

    telnet_t* telnet_ = nullptr;
    std::string output_;
    ViewSize size_;
    std::optional<ViewSize> new_size_;
    std::string terminal_type_;
    bool size_answered_ = false;
    bool type_answered_ = false;
    bool type_asked_ = false;
    std::uint64_t refused_theirs_[4] = {}; // options the client offered, refused
    std::uint64_t refused_ours_[4] = {};   // options the client asked of us, refused
    bool key_pressed_ = false;
    std::string failure_;
    std::size_t since_event_ = 0; // bytes read with no event from them yet
};

} // namespace gm
