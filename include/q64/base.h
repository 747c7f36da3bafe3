/* What every header of the library shares: the export mark of the installed
 * interface and Q2Value, the 128-bit value of two words. */
#pragma once

#include <stdint.h>

/* Marks the declarations of the installed interface: they alone are visible
 * in the shared library. */
#define Q64_API __attribute__((visibility("default")))

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
