#include "reference/literal_sieve.h"

namespace literal {
namespace {

const uint64_t kResidues[48] = {1,   11,  13,  17,  19,  23,  29,  31,  37,  41,  43,  47,
                                53,  59,  61,  67,  71,  73,  79,  83,  89,  97,  101, 103,
                                107, 109, 113, 121, 127, 131, 137, 139, 143, 149, 151, 157,
                                163, 167, 169, 173, 179, 181, 187, 191, 193, 197, 199, 209};

const uint64_t kSmallPrimes[] = {11,  13,  17,  19,  23,  29,  31,  37,  41,  43,  47,  53,  59,  61,  67,
                                 71,  73,  79,  83,  89,  97,  101, 103, 107, 109, 113, 127, 131, 137, 139,
                                 149, 151, 157, 163, 167, 173, 179, 181, 191, 193, 197, 199};

uint64_t bitmapWords(const uint64_t* block) { return block[0] - 3; }
uint64_t* nextBlock(const uint64_t* block) {
    uint64_t link = block[block[0]];
    return link == ~uint64_t{0} ? nullptr : reinterpret_cast<uint64_t*>(link);
}

int64_t scanWords(const uint64_t* words, uint64_t start, uint64_t n) {
    for (uint64_t p = start; p < 64 * n; ++p)
        if (((words[p / 64] >> (63 - p % 64)) & 1) == 0) return static_cast<int64_t>(p);
    return -1;
}

}  // namespace

uint64_t numberOf(uint64_t position) { return (position / 48 + 1) * 210 + kResidues[position % 48]; }

int64_t positionOf(uint64_t number) {
    // Index of each residue modulo 210 among kResidues, -1 for the others.
    static const auto index = [] {
        struct Table {
            int64_t of[210];
        } t;
        for (int64_t& i : t.of) i = -1;
        for (uint64_t i = 0; i < 48; ++i) t.of[kResidues[i]] = static_cast<int64_t>(i);
        return t;
    }();
    int64_t i = index.of[number % 210];
    if (i < 0) return -1;
    return static_cast<int64_t>((number / 210 - 1) * 48) + i;
}

uint64_t limitOf(uint64_t words) { return numberOf(64 * words); }

void init(uint64_t lastIndex, uint64_t* block, uint64_t baseWord) {
    block[0] = lastIndex;
    block[1] = baseWord;
    block[lastIndex] = ~uint64_t{0};
    block[2] = limitOf(baseWord + lastIndex - 3);
    for (uint64_t i = 3; i < lastIndex; ++i) block[i] = 0;
}

int crossOff(Work& w) {
    uint64_t p = w.prime, lowest = w.lowest, limit = w.target[2];
    unsigned __int128 square = static_cast<unsigned __int128>(p) * p;
    if (square >= limit) return 1;
    uint64_t m = p < lowest ? (lowest % p == 0 ? lowest : (lowest / p + 1) * p) : 2 * p;
    for (; m < limit; m += p) {
        int64_t position = positionOf(m);
        if (position == -1) continue;
        uint64_t word = static_cast<uint64_t>(position) / 64 - w.target[1] + 3;
        w.target[word] |= uint64_t{0x8000000000000000} >> (position % 64);
    }
    return 0;
}

int64_t chainScan(const Work& w) {
    uint64_t p = w.scan;
    const uint64_t* block = w.head;
    while (p >= 64 * bitmapWords(block)) {
        p -= 64 * bitmapWords(block);
        block = nextBlock(block);
        if (!block) return -1;
    }
    for (;;) {
        int64_t r = scanWords(block + 3, p, bitmapWords(block));
        if (r != -1) return r + static_cast<int64_t>(64 * block[1]);
        block = nextBlock(block);
        if (!block) return -1;
        p = 0;
    }
}

void smallPrimePass(Work& w) {
    w.lowest = w.target[1] == 0 ? 211 : limitOf(w.target[1]);
    for (uint64_t p : kSmallPrimes) {
        w.prime = p;
        if (crossOff(w)) break;
    }
}

namespace {
void tablePass(Work& w, bool chain) {
    w.scan = 0;
    for (;;) {
        int64_t r = chain ? chainScan(w) : scanWords(w.head + 3, w.scan, bitmapWords(w.head));
        if (r == -1) return;
        w.scan = static_cast<uint64_t>(r);
        w.prime = numberOf(w.scan);
        int done = crossOff(w);
        ++w.scan;
        if (done) return;
    }
}
}  // namespace

void headPass(Work& w) { tablePass(w, false); }
void chainPass(Work& w) { tablePass(w, true); }

int64_t newTable(uint64_t words, uint64_t* block, Work& w) {
    if (words < 5) return -1;
    init(words - 1, block, 0);
    w.head = w.target = block;
    smallPrimePass(w);
    headPass(w);
    return 0;
}

void append(uint64_t words, uint64_t* block, uint64_t* head, Work& w) {
    uint64_t base = 0;
    uint64_t* last = head;
    for (;;) {
        base += bitmapWords(last);
        uint64_t* next = nextBlock(last);
        if (!next) break;
        last = next;
    }
    last[last[0]] = reinterpret_cast<uint64_t>(block);
    init(words - 1, block, base);
    w.head = head;
    w.target = block;
    smallPrimePass(w);
    chainPass(w);
    head[2] = block[2];
}

}  // namespace literal
