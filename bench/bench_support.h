// What the bench programs share: the best-of-runs timing loop, wall and CPU
// clocks, random operands, and GMP values of word arrays for the peer side.
// Word arrays are held most significant word first, as the library holds them.
#pragma once

#include <gmp.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "q64/m9_numrec.h"

namespace bench {

using Clock = std::chrono::steady_clock;
using Words = std::vector<uint64_t>;

// Timed calls write their result here, so that the compiler cannot drop them.
inline volatile uint64_t sink;

// Nanoseconds per call of f: the best of fifteen runs of at least minRunNs
// each (the calls per run double until a run is that long), so that other
// load on the machine disturbs the figure less.
template <class F>
double bestNsPerCall(F f, double minRunNs = 2e6) {
    uint64_t reps = 1;
    double best = 1e300;
    for (int run = 0; run < 15;) {
        auto t0 = Clock::now();
        for (uint64_t i = 0; i < reps; ++i) f();
        double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
        if (ns < minRunNs) {
            reps *= 2;
            continue;
        }
        best = std::min(best, ns / static_cast<double>(reps));
        ++run;
    }
    return best;
}

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of this process: on a busy machine it varies less than the wall
// clock.
inline double cpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// User and system CPU seconds of this process (RUSAGE_SELF) or of its
// waited-for children (RUSAGE_CHILDREN).
inline double rusageSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// n uniformly random words.
inline Words randomWords(std::mt19937_64& rng, size_t n) {
    Words w(n);
    for (auto& x : w) x = rng();
    return w;
}

// Sets rec to the mantissa m at exponent 0; rec has room for m.
inline void loadRecord(Words& rec, const Words& m) {
    rec[0] = NUMREC_HEADER(rec.size()) | m.size();
    rec[1] = 0;
    std::copy(m.begin(), m.end(), rec.begin() + 2);
}

// Nanoseconds per call of op(rec.data()) on a record reloaded with the
// mantissa m before every call, so that every call starts from the same
// value (time the reload alone with an op that only reads the record).
template <class Op>
double reloadedNsPerCall(Words& rec, const Words& m, Op op) {
    return bestNsPerCall([&] {
        loadRecord(rec, m);
        sink = static_cast<uint64_t>(op(rec.data()));
    });
}

// An mpz_t that frees itself, optionally set to the value of a word array.
class Mpz {
public:
    Mpz() { mpz_init(z_); }
    explicit Mpz(const Words& w) : Mpz() { mpz_import(z_, w.size(), 1, sizeof(uint64_t), 0, 0, w.data()); }
    Mpz(const Mpz&) = delete;
    Mpz& operator=(const Mpz&) = delete;
    ~Mpz() { mpz_clear(z_); }
    operator mpz_ptr() { return z_; }

private:
    mpz_t z_;
};

// A word array as GMP limbs (mpn functions), for timing only: mpn takes the
// least significant limb first.
static_assert(sizeof(mp_limb_t) == sizeof(uint64_t));
inline mp_ptr limbs(Words& w) { return reinterpret_cast<mp_ptr>(w.data()); }
inline mp_srcptr limbs(const Words& w) { return reinterpret_cast<mp_srcptr>(w.data()); }
inline mp_size_t limbCount(size_t n) { return static_cast<mp_size_t>(n); }

}  // namespace bench
