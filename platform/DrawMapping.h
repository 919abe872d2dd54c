#pragma once

#include <cstdint>

// How a draw among n choices (n >= 1) is made of the keystream without bias (Lemire's method): the choice
// is the high part of x * n, where x is one byte for n <= 256 and four bytes above; a low part below
// 2^bits mod n would favour some choices, so such an x is rejected and the draw takes the next.
struct DrawMapping {
    int n = 0;
    std::uint32_t below = 0;

    static constexpr bool OneByte(int n) { return n <= 256; }

    static constexpr DrawMapping For(int n) {
        const auto choices = std::uint32_t(n);
        return {n, OneByte(n) ? 256u % choices : std::uint32_t(-choices) % choices};
    }

    // The choice the byte gives, or -1 where it is rejected.
    constexpr int FromByte(std::uint32_t Byte) const {
        const std::uint32_t product = Byte * std::uint32_t(n);
        return (product & 0xFF) >= below ? int(product >> 8) : -1;
    }

    // The choice the four bytes give, or -1 where they are rejected.
    constexpr int FromWord(std::uint32_t Word) const {
        const std::uint64_t product = std::uint64_t(Word) * std::uint32_t(n);
        return std::uint32_t(product) >= below ? int(product >> 32) : -1;
    }
};
