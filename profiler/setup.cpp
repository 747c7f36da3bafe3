// Set-up and selection: the ring size, and which routines are counted.
#include "profiler/profiler_state.h"
#include "q64/profiler.h"

namespace {

bool isListEnd(char c) { return static_cast<unsigned char>(c) == prf::kListEnd; }

// The NUL bytes between the list's opening and closing byte 255.
uint64_t countNames() {
    uint64_t n = 0;
    for (const char* p = prfnamelist + 1; !isListEnd(*p); ++p) n += (*p == '\0');
    return n;
}

}  // namespace

extern "C" int64_t prfsetup(uint64_t n) {
    if (n < 5 || n > 18) return -1;
    prf::CounterTable& table = prf::counterTable;
    table.nameCount = countNames();
    for (uint64_t i = 0; i < table.nameCount && i < prf::kCounterWords; ++i) {
        table.counters[i] = prf::kNotCounted;
    }
    prf::TraceRing& ring = prf::traceRing;
    uint64_t size = uint64_t{1} << n;
    for (uint64_t i = 0; i < size; ++i) ring.entries[i] = 0;
    ring.mask = size - 1;
    ring.position = 0;
    return 0;
}

extern "C" int64_t prfinit(uint64_t n, const char* letters, const char* names) {
    if (prfsetup(n) != 0) prfsetup(7);
    if (letters != nullptr) prfenmods(letters);
    if (names != nullptr) prftoggle(names);
    return 0;
}

extern "C" int64_t prfenmods(const char* letters) {
    for (const char* p = letters; *p != '\0'; ++p) prfenmod(static_cast<unsigned char>(*p));
    return 0;
}

extern "C" int64_t prfenmod(uint64_t letter) {
    const char wanted = static_cast<char>(letter & 0xFF);
    int64_t found = 0;
    const char* p = prfnamelist + 1;
    for (uint64_t index = 0; !isListEnd(*p); ++index) {
        // A name shorter than three bytes ends at its NUL, which fails the test.
        if (p[0] == '_' && p[1] == wanted && p[1] != '\0' && p[2] == '_' &&
            index < prf::kCounterWords) {
            prf::counterTable.counters[index] = 0;
            ++found;
        }
        while (*p != '\0') ++p;
        ++p;
    }
    return found;
}

extern "C" int64_t prftoggle(const char* names) {
    int64_t found = 0;
    const char* item = names;
    while (*item != '\0') {
        uint64_t length = 0;
        while (item[length] != ',' && item[length] != '\0') ++length;
        if (length > 0) {
            int64_t index = prflookup(item, length);
            if (index >= 0) {
                prf::counterTable.counters[index] ^= prf::kNotCounted;
                ++found;
            }
        }
        item += length;
        if (*item == ',') ++item;
    }
    return found;
}
