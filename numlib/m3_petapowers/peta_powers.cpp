// PetaPowers, the constant table of (10^16)^k for k = 0..32 in reduced form,
// generated at compile time, and the routines that read it or build larger
// powers from it.
#include <array>
#include <cstddef>

#include "numlib/m3_petapowers/peta_sizes.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m3_petapowers.h"

namespace {

constexpr uint64_t kTableTop = 32;
constexpr uint64_t kFivePow16 = 152587890625u;  // 5^16: (10^16)^k = 5^(16k) 2^(16k)

constexpr std::size_t tableWords() {
    std::size_t words = 0;
    for (uint64_t k = 0; k <= kTableTop; ++k) words += 1 + peta::reducedLength(k);
    return words;
}
constexpr std::size_t kTableWords = tableWords();

struct Table {
    std::array<uint64_t, kTableWords> words{};
    std::array<std::size_t, kTableTop + 1> first{};  // index of each entry's first value word
};

// The reduced power drops floor(k/4) zero words = 64 floor(k/4) factors of 2,
// which leaves 5^(16k) * 2^(16 (k mod 4)): its last word is never zero.
constexpr Table buildTable() {
    Table t;
    std::size_t pos = 0;
    std::array<uint64_t, 24> power{};  // 5^(16k), least significant word first
    std::size_t used = 1;
    power[0] = 1;
    for (uint64_t k = 0; k <= kTableTop; ++k) {
        if (k > 0) {
            unsigned __int128 carry = 0;
            for (std::size_t i = 0; i < used; ++i) {
                unsigned __int128 p = static_cast<unsigned __int128>(power[i]) * kFivePow16 + carry;
                power[i] = static_cast<uint64_t>(p);
                carry = p >> 64;
            }
            if (carry != 0) power[used++] = static_cast<uint64_t>(carry);
        }
        std::array<uint64_t, 24> reduced{};
        const unsigned shift = 16 * (k % 4);
        for (std::size_t i = 0; i < used; ++i) {
            reduced[i] |= power[i] << shift;
            if (shift != 0) reduced[i + 1] = power[i] >> (64 - shift);
        }
        std::size_t q = used + (reduced[used] != 0);
        // The size formula and the built value must agree (a compile error otherwise).
        if (q != peta::reducedLength(k)) throw "reduced power length differs from _3_petaqw";
        t.words[pos] = q;
        t.first[k] = pos + 1;
        for (std::size_t i = 0; i < q; ++i) t.words[pos + 1 + i] = reduced[q - 1 - i];
        pos += 1 + q;
    }
    return t;
}

constexpr Table kTable = buildTable();
static_assert(kTable.words[kTable.first[1]] == 0x2386F26FC10000u);
static_assert(kTable.words[kTable.first[32] - 1] == 19);

// PetaPowers: length word, then the value words, for k = 0 .. 32.
alignas(64) constinit const std::array<uint64_t, kTableWords> PetaPowers = kTable.words;

inline const uint64_t* entry(uint64_t k) { return PetaPowers.data() + kTable.first[k]; }
inline uint64_t entryLength(const uint64_t* value) { return value[-1] & 0x7FFFFFFFu; }

}  // namespace

extern "C" const uint64_t* _3_peta(uint64_t k) {
    PRF_ENTER(_3_peta);
    return k <= kTableTop ? entry(k) : nullptr;
}

// Larger powers multiply reduced factors: the zero words they leave out add up
// (8 for each 32 and floor(r/4) for the rest r), so the product is reduced too;
// its leading zero word, if any, is dropped after each step.
extern "C" uint64_t _3_mkpeta(uint64_t* dst, uint64_t k) {
    PRF_ENTER(_3_mkpeta);
    const uint64_t* top = entry(k <= kTableTop ? k : kTableTop);
    uint64_t len = entryLength(top);
    _0_cpymem(dst, top, len);
    if (k <= kTableTop) return len;
    uint64_t rest = k - kTableTop;
    while (rest > kTableTop) {
        len = _0_cprsmmem(dst, _1_mul(dst, len, top, entryLength(top)));
        rest -= kTableTop;
    }
    const uint64_t* last = entry(rest);
    return _0_cprsmmem(dst, _1_mul(dst, len, last, entryLength(last)));
}
