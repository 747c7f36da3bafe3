// Four helpers of module _0_ that have no name in the profiler's list and are
// not part of the installed interface. They carry the entry hook with the
// index of unnamed routines (9999, which the profiler ignores).
#pragma once

#include <cstdint>

extern "C" {

// Sets a[0..n-1] to v; returns n.
uint64_t fillwords(uint64_t* a, uint64_t v, uint64_t n);
// Writes v in exactly w digits with leading zeros (no NUL); returns 0, or 1
// when v has more than w digits (only its last w digits are written).
int64_t decfixed(char* buffer, uint64_t v, uint64_t w);
// Replaces the first byte b (low 8 bits) of the NUL-ended text by v in w
// digits with leading zeros; the rest of the text, NUL included, moves up by
// w - 1. Returns the text's length before the change, or -1 (nothing changed)
// when b is 0, w is 0 or b is not in the text. The caller keeps room for the
// longer text.
int64_t dectemplate(char* text, uint64_t b, uint64_t v, uint64_t w);
// Returns -1.
int64_t failresult(void);

}
