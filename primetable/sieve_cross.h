// The crossing-off kernels: they mark the multiples of one sieving prime in a
// segment of the bitmap held as a stream of bytes, most significant bit first
// (byte i of the stream holds positions 8i .. 8i + 7, the first in bit 0x80).
//
// A prime steps through the 48 cofactors prime to 210 of one turn of the
// wheel; each kernel unrolls that turn, entered at the prime's current
// cofactor index through a switch.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "primetable/sieve_steps.h"
#include "primetable/wheel.h"

// X(j) for each cofactor index j of the wheel.
#define Q64_EACH_SPOKE(X) X(0) X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) \
    X(13) X(14) X(15) X(16) X(17) X(18) X(19) X(20) X(21) X(22) X(23) X(24) X(25) X(26) X(27) \
    X(28) X(29) X(30) X(31) X(32) X(33) X(34) X(35) X(36) X(37) X(38) X(39) X(40) X(41) X(42) \
    X(43) X(44) X(45) X(46) X(47)
#define Q64_EACH_SPOKE_FROM_1(X) X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) \
    X(13) X(14) X(15) X(16) X(17) X(18) X(19) X(20) X(21) X(22) X(23) X(24) X(25) X(26) X(27)   \
    X(28) X(29) X(30) X(31) X(32) X(33) X(34) X(35) X(36) X(37) X(38) X(39) X(40) X(41) X(42)   \
    X(43) X(44) X(45) X(46) X(47)

namespace sieve {

// A prime being crossed off: where its next multiple lies and how to step on.
// Eight bytes, so that the lists of a segment's primes take little of the
// caches beside it.
struct SievingPrime {
    uint32_t next;  // byte of the next multiple, counted from the start of the buffer being sieved
    uint16_t q6;    // 6 * (q div 210): the prime's share of every step, per unit of gap
    uint8_t ri;     // index of q mod 210 among WheelResidues
    uint8_t j;      // wheel index of the next multiple's cofactor
};
static_assert(sizeof(SievingPrime) == 8);

// The largest prime a SievingPrime holds (q6 below 2^16), and the largest
// byte its `next` may reach (a buffer plus one turn of the largest prime).
inline constexpr uint64_t kMaxSievingPrime = 210 * (UINT16_MAX / 6) + 209;
inline constexpr uint64_t kMaxNextByte = UINT32_MAX;

// Bytes of one turn of the wheel: 48 multiples, 210 q numbers, 6 q bytes.
inline uint64_t turnBytes(const SievingPrime& sp) { return wheel::kModulus * sp.q6 + 6 * WheelResidues[sp.ri]; }

// Sets the bits of the multiples of `sp` that lie in seg[0 .. segBytes - 1]
// and leaves `sp` at its first multiple past them.
[[gnu::always_inline]] inline void crossOff(uint8_t* seg, uint64_t segBytes, SievingPrime& sp) {
    uint64_t b = sp.next;
    if (b >= segBytes) return;
    const uint8_t* mask = kMask[sp.ri].data();
    const uint16_t* byteGap = kByteGap[sp.ri].data();
    const uint64_t q6 = sp.q6;
#define Q64_CHECKED_MARK(J)                   \
    if (__builtin_expect(b >= segBytes, 0)) { \
        sp.j = J;                             \
        goto done;                            \
    }                                         \
    seg[b] |= mask[J];                        \
    b += byteGap[J] + kGap[J] * q6;
#define Q64_CHECKED_CASE(J) \
    [[fallthrough]];        \
    case J:                 \
        Q64_CHECKED_MARK(J)
    switch (sp.j) {
        default:
            for (;;) {
            case 0:
                Q64_CHECKED_MARK(0)
                Q64_EACH_SPOKE_FROM_1(Q64_CHECKED_CASE)
            }
    }
#undef Q64_CHECKED_CASE
#undef Q64_CHECKED_MARK
done:
    sp.next = static_cast<uint32_t>(b);
}

// Marks one multiple and steps to the next. The step is formed apart from b
// (the empty asm keeps the compiler from folding it into b), so that b gets
// one addition per multiple, not two.
#define Q64_TURN_MARK(J)                                  \
    {                                                     \
        seg[b] |= MASK(J);                                \
        uint64_t step = BYTE_GAP(J) + GAP_SHARE(J);       \
        __asm__("" : "+r"(step));                         \
        b += step;                                        \
    }
#define Q64_TURN_CASE(J) \
    [[fallthrough]];     \
    case J:              \
        Q64_TURN_MARK(J)

// Marks the rest of the turn of the wheel that `sp` is in, from its cofactor
// index sp.j on (nothing when that is 0), then whole turns up to the first
// that starts at or after `end`, with the masks and gaps read from the
// tables and without a bound check; answers the byte where the next turn
// starts.
inline uint64_t crossOffFromTables(uint8_t* seg, uint64_t end, const SievingPrime& sp) {
    uint64_t b = sp.next;
    const uint8_t* mask = kMask[sp.ri].data();
    const uint16_t* byteGap = kByteGap[sp.ri].data();
    const uint64_t q6 = sp.q6;
#define MASK(J) mask[J]
#define BYTE_GAP(J) byteGap[J]
#define GAP_SHARE(J) kGap[J] * q6
    switch (sp.j) {
        case 0:
            break;
        default:
            Q64_EACH_SPOKE_FROM_1(Q64_TURN_CASE)
    }
    while (b < end) {
        Q64_EACH_SPOKE(Q64_TURN_MARK)
    }
#undef GAP_SHARE
#undef BYTE_GAP
#undef MASK
    return b;
}

// As crossOff, but without a bound check: crosses off up to the first turn
// of the wheel that starts at or after `end`, so it may set bits up to
// turnBytes(sp) bytes past `end`; seg must have that room, and those bits
// belong to whatever follows. Leaves sp at cofactor index 0.
inline void crossOffTurns(uint8_t* seg, uint64_t end, SievingPrime& sp) {
    if (sp.next >= end) return;
    sp.next = static_cast<uint32_t>(crossOffFromTables(seg, end, sp));
    sp.j = 0;
}

// crossOffTurns for the primes whose residue is WheelResidues[RI]: the masks
// and byte gaps become constants of the code, which leaves two instructions
// per multiple. Callers keep primes of one residue together, so that the code
// of each residue stays in the instruction cache while it runs. A turn begun
// elsewhere (a prime started afresh) is finished first with the masks read
// from the tables.
template <unsigned RI>
void crossOffTurnsFixed(uint8_t* seg, uint64_t end, SievingPrime& sp) {
    uint64_t b = sp.next;
    if (b >= end) return;
    if (sp.j != 0) {
        b = crossOffFromTables(seg, 0, sp);
        sp.j = 0;
        if (b >= end) {
            sp.next = static_cast<uint32_t>(b);
            return;
        }
    }
    const uint64_t g2 = 2 * uint64_t{sp.q6};
    const uint64_t gapShare[11] = {0, 0, g2, 0, 2 * g2, 0, 3 * g2, 0, 4 * g2, 0, 5 * g2};
#define MASK(J) kMask[RI][J]
#define BYTE_GAP(J) kByteGap[RI][J]
#define GAP_SHARE(J) gapShare[kGap[J]]
    do {
        Q64_EACH_SPOKE(Q64_TURN_MARK)
    } while (b < end);
#undef GAP_SHARE
#undef BYTE_GAP
#undef MASK
    sp.next = static_cast<uint32_t>(b);
}

#undef Q64_TURN_CASE
#undef Q64_TURN_MARK

using TurnKernel = void (*)(uint8_t*, uint64_t, SievingPrime&);

template <size_t... RI>
constexpr std::array<TurnKernel, sizeof...(RI)> makeTurnKernels(std::index_sequence<RI...>) {
    return {&crossOffTurnsFixed<RI>...};
}

// crossOffTurnsFixed by residue index.
inline constexpr std::array<TurnKernel, wheel::kSpokes> kTurnKernels =
    makeTurnKernels(std::make_index_sequence<wheel::kSpokes>{});

}  // namespace sieve

#undef Q64_EACH_SPOKE_FROM_1
#undef Q64_EACH_SPOKE
