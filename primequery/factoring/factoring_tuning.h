// Tuning of the factoring methods: which method takes a composite of a given
// size, and the elliptic curve method's schedule. They change speed only,
// never a result.
#pragma once

#include <cstdint>

namespace factoring {

// The first sigma of Suyama's curves tried on each composite.
inline constexpr uint64_t kFirstSigma = 6;

// One step of the schedule: `curves` curves of `level` (kEcmB1), for
// composites of at least minBits bits (the smallest factor of a composite
// of b bits has at most b/2 bits, so larger bounds only pay for larger
// numbers).
struct EcmStep {
    int minBits;
    int level;
    int curves;
};

inline constexpr EcmStep kEcmSchedule[] = {
    {0, 0, 8},    {0, 1, 12},   {48, 2, 16},  {56, 3, 24},  {72, 4, 32},
    {80, 5, 48},  {96, 6, 64},  {104, 7, 96}, {112, 8, 128}, {120, 9, 160},
};

// Curves per round after the schedule.
inline constexpr int kEcmCurvesPerRound = 64;

// SQUFOF takes what the schedule leaves of composites up to this size.
inline constexpr int kSqufofBits = 62;

}  // namespace factoring
