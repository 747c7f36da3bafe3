// Q2Value: an unsigned integer of up to 128 bits as two 64-bit words, the low
// word first. Routines that return a Q2Value hand back the pair in two result
// registers (the C calling convention for a 16-byte struct of two words).
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Q2Value {
    uint64_t lo;
    uint64_t hi;
} Q2Value;

#ifdef __cplusplus
}
#endif
