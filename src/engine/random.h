#pragma once
#include <cstdint>

namespace gm {

// The classic C runtime generator: a given seed yields the same aquarium on
// every platform, and every draw lies in 0..32767 as the creators' "% n" and
// "/ 32767.0" arithmetic expects. The platform rand() is never used.
class Random {
public:
    static constexpr int max_value = 32767;

    explicit Random(std::uint32_t seed = 1) : state_(seed) {}

    void seed(std::uint32_t seed) { state_ = seed; }

    int next()
    {
        state_ = state_ * 214013u + 2531011u;
        ++draws_;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

    // How many numbers have been drawn since construction; tests use it to
    // check that each creator draws exactly as many numbers as it should.
    std::uint64_t draws() const { return draws_; }

private:
    std::uint32_t state_;
    std::uint64_t draws_ = 0;
};

} // namespace gm
