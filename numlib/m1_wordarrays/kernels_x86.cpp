// The x86-64 kernels: inline assembly that keeps every carry in a flag.
//
// Pointers start one past the last word (the least significant end) and
// walk down. Additions run four words per step in one ADC (SBB) chain; DEC
// and LEA leave the carry flag alone. The one-word multipliers take the
// product halves from MULX, which sets no flags, so two carry chains run
// side by side: ADCX (carry flag) joins each low half with the previous high
// half, ADOX (overflow flag) adds the result word. The loop counter then
// runs in RCX with JRCXZ, since DEC would change the overflow flag. The
// n mod 4 least significant words go first, one word at a time, in C++.
#include "numlib/m1_wordarrays/kernels.h"

#if defined(__x86_64__)

#include <cpuid.h>

namespace m1::x86 {
namespace {
// CPUID leaf 7: BMI2 (MULX) is bit 8 of EBX, ADX (ADCX, ADOX) bit 19. Asked
// directly, since not every compiler's __builtin_cpu_supports knows "adx".
bool detectMulx() {
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    return (ebx >> 8 & 1) && (ebx >> 19 & 1);
}
}  // namespace

extern const bool hasMulx = detectMulx();

// The ADC and SBB chains differ only in their instruction.
#define Q64_ADD_OR_SUB_N(OP)                                                                  \
    if (n == 0) return 0;                                                                     \
    uint64_t rest = n & 3, blocks = (n >> 2) + 1, c, t0, t1, t2, t3;                          \
    r += n;                                                                                   \
    a += n;                                                                                   \
    b += n;                                                                                   \
    __asm__ volatile(                                                                         \
        "xor %k[c], %k[c]\n\t"                                                                \
        "test %[rest], %[rest]\n\t"                                                           \
        "jz 2f\n"                                                                             \
        "1:\n\t"                                                                              \
        "mov -8(%[a]), %[t0]\n\t" OP " -8(%[b]), %[t0]\n\t"                                  \
        "mov %[t0], -8(%[r])\n\t"                                                             \
        "lea -8(%[a]), %[a]\n\t"                                                              \
        "lea -8(%[b]), %[b]\n\t"                                                              \
        "lea -8(%[r]), %[r]\n\t"                                                              \
        "dec %[rest]\n\t"                                                                     \
        "jnz 1b\n"                                                                            \
        "2:\n\t"                                                                              \
        "dec %[blocks]\n\t"                                                                   \
        "jz 4f\n"                                                                             \
        "3:\n\t"                                                                              \
        "mov -8(%[a]), %[t0]\n\t"                                                             \
        "mov -16(%[a]), %[t1]\n\t"                                                            \
        "mov -24(%[a]), %[t2]\n\t"                                                            \
        "mov -32(%[a]), %[t3]\n\t" OP " -8(%[b]), %[t0]\n\t" OP " -16(%[b]), %[t1]\n\t" OP  \
        " -24(%[b]), %[t2]\n\t" OP " -32(%[b]), %[t3]\n\t"                                   \
        "mov %[t0], -8(%[r])\n\t"                                                             \
        "mov %[t1], -16(%[r])\n\t"                                                            \
        "mov %[t2], -24(%[r])\n\t"                                                            \
        "mov %[t3], -32(%[r])\n\t"                                                            \
        "lea -32(%[a]), %[a]\n\t"                                                             \
        "lea -32(%[b]), %[b]\n\t"                                                             \
        "lea -32(%[r]), %[r]\n\t"                                                             \
        "dec %[blocks]\n\t"                                                                   \
        "jnz 3b\n"                                                                            \
        "4:\n\t"                                                                              \
        "adc $0, %k[c]\n\t"                                                                   \
        : [r] "+r"(r), [a] "+r"(a), [b] "+r"(b), [rest] "+r"(rest), [blocks] "+r"(blocks),   \
          [c] "=&r"(c), [t0] "=&r"(t0), [t1] "=&r"(t1), [t2] "=&r"(t2), [t3] "=&r"(t3)        \
        :                                                                                     \
        : "cc", "memory");                                                                    \
    return c

// Loads and stores of one block keep the words of a and b ahead of the words
// of r, so r may be a or b.
uint64_t addN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) { Q64_ADD_OR_SUB_N("adc"); }

uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) { Q64_ADD_OR_SUB_N("sbb"); }

#undef Q64_ADD_OR_SUB_N

// Each word of a is read (by MULX) before the word below it in r is written,
// so r may be a or a + 1.
uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    const uint64_t k = n & 3;
    uint64_t hi = portable::mul1(r + n - k, a + n - k, k, m);
    uint64_t blocks = n >> 2;
    if (blocks == 0) return hi;
    r += n - k;
    a += n - k;
    uint64_t l0, l1, h0, h1;
    __asm__ volatile(
        "xor %k[l0], %k[l0]\n"  // clears the carry flag
        "1:\n\t"
        "mulx -8(%[a]), %[l0], %[h0]\n\t"
        "adc %[hi], %[l0]\n\t"
        "mov %[l0], -8(%[r])\n\t"
        "mulx -16(%[a]), %[l1], %[h1]\n\t"
        "adc %[h0], %[l1]\n\t"
        "mov %[l1], -16(%[r])\n\t"
        "mulx -24(%[a]), %[l0], %[h0]\n\t"
        "adc %[h1], %[l0]\n\t"
        "mov %[l0], -24(%[r])\n\t"
        "mulx -32(%[a]), %[l1], %[hi]\n\t"
        "adc %[h0], %[l1]\n\t"
        "mov %[l1], -32(%[r])\n\t"
        "lea -32(%[a]), %[a]\n\t"
        "lea -32(%[r]), %[r]\n\t"
        "dec %[blocks]\n\t"
        "jnz 1b\n\t"
        "adc $0, %[hi]\n\t"
        : [r] "+r"(r), [a] "+r"(a), [blocks] "+r"(blocks), [hi] "+r"(hi), [l0] "=&r"(l0), [l1] "=&r"(l1),
          [h0] "=&r"(h0), [h1] "=&r"(h1)
        : "d"(m)
        : "cc", "memory");
    return hi;
}

// One word of the multiply-add and multiply-subtract loops at byte offset
// OFF: the product's low half joins the previous high half HIN (ADCX), the
// result word is added (ADOX) and stored. The subtraction adds to the
// complement: R - X is the complement of ~R + X, with the carry word of that
// sum as the borrow word (NOT sets no flags).
#define Q64_ADDMUL_WORD(OFF, HIN, HOUT)             \
    "mulx " OFF "(%[a]), %[l], %[" HOUT "]\n\t"     \
    "adcx %[" HIN "], %[l]\n\t"                     \
    "adox " OFF "(%[r]), %[l]\n\t"                  \
    "mov %[l], " OFF "(%[r])\n\t"
#define Q64_SUBMUL_WORD(OFF, HIN, HOUT)             \
    "mulx " OFF "(%[a]), %[l], %[" HOUT "]\n\t"     \
    "adcx %[" HIN "], %[l]\n\t"                     \
    "mov " OFF "(%[r]), %[x]\n\t"                   \
    "not %[x]\n\t"                                  \
    "adox %[x], %[l]\n\t"                           \
    "not %[l]\n\t"                                  \
    "mov %[l], " OFF "(%[r])\n\t"

// The n mod 4 last words by the portable loop (its carry word is the one the
// blocks take on), then four words per step.
#define Q64_MUL_ROWS(WORD, PORTABLE)                                                                  \
    const uint64_t k = n & 3;                                                                         \
    uint64_t hi = PORTABLE(r + n - k, a + n - k, k, m);                                               \
    uint64_t blocks = n >> 2;                                                                         \
    if (blocks == 0) return hi;                                                                       \
    r += n - k;                                                                                       \
    a += n - k;                                                                                       \
    uint64_t l, x, h0, h1, zero;                                                                      \
    __asm__ volatile("xor %k[zero], %k[zero]\n"                                                       \
                     "1:\n\t" WORD("-8", "hi", "h0") WORD("-16", "h0", "h1") WORD("-24", "h1", "h0")  \
                         WORD("-32", "h0", "hi") "lea -32(%[a]), %[a]\n\t"                            \
                                                 "lea -32(%[r]), %[r]\n\t"                            \
                                                 "lea -1(%[blocks]), %[blocks]\n\t"                   \
                                                 "jrcxz 2f\n\t"                                       \
                                                 "jmp 1b\n"                                           \
                                                 "2:\n\t"                                             \
                                                 "adcx %[zero], %[hi]\n\t"                            \
                                                 "adox %[zero], %[hi]\n\t"                            \
                     : [r] "+r"(r), [a] "+r"(a), [blocks] "+c"(blocks), [hi] "+r"(hi), [l] "=&r"(l),  \
                       [x] "=&r"(x), [h0] "=&r"(h0), [h1] "=&r"(h1), [zero] "=&r"(zero)               \
                     : "d"(m)                                                                         \
                     : "cc", "memory");                                                               \
    return hi

uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    Q64_MUL_ROWS(Q64_ADDMUL_WORD, portable::addMul1);
}

uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    Q64_MUL_ROWS(Q64_SUBMUL_WORD, portable::subMul1);
}

#undef Q64_MUL_ROWS
#undef Q64_SUBMUL_WORD
#undef Q64_ADDMUL_WORD

}  // namespace m1::x86

#endif
