#include "host/server/telnet_negotiation.h"

#include <cstddef> // before libtelnet.h, which uses size_t without it
#include <libtelnet.h>

#include <algorithm>
#include <new>

namespace gm {

namespace {

// The options asked for or offered; anything else the client asks is
// refused, once, so that two sides that disagree do not loop.
bool ours(unsigned char option)
{
    return option == TELNET_TELOPT_ECHO || option == TELNET_TELOPT_SGA || option == TELNET_TELOPT_NAWS ||
           option == TELNET_TELOPT_TTYPE;
}

// A subnegotiation of max_subnegotiation bytes, each of them a doubled 255,
// within its IAC SB option ... IAC SE. More bytes than that with nothing
// coming of them is a subnegotiation that never ends.
constexpr std::size_t max_bytes_without_event = 2 * max_subnegotiation + 5;

// The reads are handed to the library in pieces this small, so that an
// endless subnegotiation is caught within a piece of where it passes the limit.
constexpr std::size_t piece = 64;

} // namespace

// The library's own bookkeeping of options reports no refusal of a question
// it asked, so it runs as a proxy and this side answers, knowing what it asked.
TelnetNegotiation::TelnetNegotiation() : telnet_(telnet_init(nullptr, on_event, TELNET_FLAG_PROXY, this))
{
    if (telnet_ == nullptr) throw std::bad_alloc();
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_ECHO);
    telnet_negotiate(telnet_, TELNET_WILL, TELNET_TELOPT_SGA);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_NAWS);
    telnet_negotiate(telnet_, TELNET_DO, TELNET_TELOPT_TTYPE);
}

TelnetNegotiation::~TelnetNegotiation() { telnet_free(telnet_); }

void TelnetNegotiation::receive(std::span<const char> bytes)
{
    while (!bytes.empty() && failure_.empty()) {
        const std::size_t size = std::min(bytes.size(), piece);
        since_event_ += size;
        telnet_recv(telnet_, bytes.data(), size);
        bytes = bytes.subspan(size);
        if (failure_.empty() && since_event_ > max_bytes_without_event)
            failure_ = "a telnet subnegotiation longer than 64 bytes";
    }
}

void TelnetNegotiation::refuse_once(unsigned char answer, unsigned char option)
{
    std::uint64_t& refused = answer == TELNET_DONT ? refused_theirs_[option / 64] : refused_ours_[option / 64];
    const std::uint64_t bit = std::uint64_t{1} << (option % 64);
    if ((refused & bit) != 0) return;
    refused |= bit;
    telnet_negotiate(telnet_, answer, option);
}

void TelnetNegotiation::on_event(telnet_t*, telnet_event_t* event, void* self)
{
    static_cast<TelnetNegotiation*>(self)->handle(*event);
}

void TelnetNegotiation::handle(const telnet_event_t& event)
{
    if (event.type == TELNET_EV_SEND) {
        output_.append(event.data.buffer, event.data.size);
        return;
    }
    since_event_ = 0;
    switch (event.type) {
    case TELNET_EV_DATA:
        if (event.data.size > 0) key_pressed_ = true;
        break;
    case TELNET_EV_WILL: take_will(event.neg.telopt); break;
    case TELNET_EV_DO:
        if (!ours(event.neg.telopt)) refuse_once(TELNET_WONT, event.neg.telopt);
        break;
    case TELNET_EV_WONT:
        if (event.neg.telopt == TELNET_TELOPT_NAWS) size_answered_ = true;
        if (event.neg.telopt == TELNET_TELOPT_TTYPE) type_answered_ = true;
        break;
    case TELNET_EV_SUBNEGOTIATION: take_subnegotiation(event); break;
    case TELNET_EV_TTYPE:
        if (event.ttype.cmd == TELNET_TTYPE_IS) take_terminal_type(event.ttype.name);
        break;
    case TELNET_EV_ERROR: failure_ = "broken telnet"; break;
    default: break;
    }
}

// The type is asked once: a client that says WILL again is not to be drawn
// into a loop of questions.
void TelnetNegotiation::take_will(unsigned char option)
{
    if (option == TELNET_TELOPT_TTYPE && !type_asked_) {
        type_asked_ = true;
        telnet_ttype_send(telnet_);
    } else if (!ours(option)) {
        refuse_once(TELNET_DONT, option);
    }
}

void TelnetNegotiation::take_subnegotiation(const telnet_event_t& event)
{
    if (event.sub.size > max_subnegotiation) {
        failure_ = "a telnet subnegotiation longer than 64 bytes";
    } else if (event.sub.telopt == TELNET_TELOPT_NAWS) {
        const auto* payload = reinterpret_cast<const unsigned char*>(event.sub.buffer);
        const std::optional<ViewSize> size = naws_size({payload, event.sub.size});
        if (!size) {
            failure_ = "a telnet window size that is not four bytes";
            return;
        }
        size_ = *size;
        new_size_ = *size;
        size_answered_ = true;
    }
}

// No terminal's name is longer than 40 letters: a longer one is cut rather
// than refused, so that its viewer still gets a picture.
void TelnetNegotiation::take_terminal_type(const char* name)
{
    terminal_type_ = name != nullptr ? name : "";
    if (terminal_type_.size() > 40) terminal_type_.resize(40);
    type_answered_ = true;
}

} // namespace gm
