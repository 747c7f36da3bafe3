// The name list and the routines that read it.
#include "profiler/hook.h"
#include "profiler/profiler_state.h"
#include "q64/profiler.h"

extern "C" const char prfnamelist[] = "\xFF"
#define PRF_ROUTINE(name) #name "\0"
#include "profiler/routines.def"
#undef PRF_ROUTINE
    "\xFF";

namespace {
bool isListEnd(char c) { return static_cast<unsigned char>(c) == prf::kListEnd; }
}  // namespace

extern "C" int64_t prflookup(const char* name, uint64_t length) {
    const char* p = prfnamelist + 1;
    for (int64_t index = 0; !isListEnd(*p); ++index) {
        uint64_t n = 0;
        while (p[n] != '\0') ++n;
        if (n == length) {
            uint64_t i = 0;
            while (i < n && p[i] == name[i]) ++i;
            if (i == n) return index;
        }
        p += n + 1;
    }
    return -1;
}

extern "C" const char* prfname(int64_t index) {
    if (index < 0 || static_cast<uint64_t>(index) >= prf::counterTable.nameCount) return nullptr;
    const char* p = prfnamelist + 1;
    for (int64_t i = 0; i < index; ++i) {
        while (*p != '\0') ++p;
        ++p;
    }
    if (*p == '\0' || isListEnd(*p)) return nullptr;
    return p;
}
