// What the fuzz harnesses share: a failed check that stops the run (libFuzzer
// and the corpus replay then name the input), a reader that takes operations,
// sizes and operands from the front of the input, and a generator that
// stretches a few input bytes into operands of thousands of words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
    std::abort();
}

}  // namespace fuzz

// Unlike assert, kept in every build.
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::fuzz::fail(#condition, __FILE__, __LINE__))

namespace fuzz {

// Once per process: a new directory as the current directory (the console
// reads and writes prime.dat there), removed at exit. In memory when the
// machine has /dev/shm, where the saves' flushes to the disk cost nothing.
inline void workInOwnDirectory() {
    static char dir[64];
    bool made = false;
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::snprintf(dir, sizeof dir, "%s/q64-fuzz-XXXXXX", base);
        if ((made = mkdtemp(dir) != nullptr)) break;
    }
    FUZZ_CHECK(made && chdir(dir) == 0);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    });
}

// The input, consumed from the front; an exhausted input reads as zeros.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t left() const { return size_ - at_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint64_t word() {
        uint64_t w = 0;
        for (int i = 0; i < 8; ++i) w = (w << 8) | byte();
        return w;
    }
    // A number in 0..n-1 (n >= 1) from as few bytes as it needs.
    uint64_t below(uint64_t n) {
        uint64_t v = 0;
        for (uint64_t range = 1; range < n && range != 0; range <<= 8) v = (v << 8) | byte();
        return v % n;
    }
    const uint8_t* rest(size_t* size) {
        *size = left();
        const uint8_t* p = data_ + at_;
        at_ = size_;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// SplitMix64: a seed from the input becomes as many words as an operand needs.
class Stretch {
public:
    explicit Stretch(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // A word shaped to find carry and borrow faults: zero, all ones, a run of
    // ones at either end, or random, as `shape` (0..7) chooses.
    uint64_t shaped(unsigned shape) {
        uint64_t r = next();
        switch (shape & 7) {
            case 0: return 0;
            case 1: return ~uint64_t{0};
            case 2: return ~uint64_t{0} << (r & 63);
            case 3: return ~uint64_t{0} >> (r & 63);
            case 4: return uint64_t{1} << (r & 63);
            default: return r;
        }
    }

private:
    uint64_t state_;
};

}  // namespace fuzz
