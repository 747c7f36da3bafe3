/* The prime table: a chain of blocks of 64-bit words holding a sieve bitmap
 * over the numbers from 211 upward that are prime to 210.
 *
 * Block words: 0 lastIndex (W - 1), 1 baseWord (bitmap words of all earlier
 * blocks), 2 limit (first number past this block's bitmap; in the first block
 * the limit of the whole table), 3 .. lastIndex - 1 the bitmap, lastIndex the
 * address of the next block or all ones in the last block. Bit positions run
 * most significant bit first; a set bit marks a composite, a clear bit a prime.
 */
#pragma once

#include <stdint.h>

/* A block is addressed as its array of words. */
typedef uint64_t TableBlock;

#ifdef __cplusplus
namespace table {
inline constexpr uint64_t kLastIndex = 0;
inline constexpr uint64_t kBaseWord = 1;
inline constexpr uint64_t kLimit = 2;
inline constexpr uint64_t kFirstBitmapWord = 3;
inline constexpr uint64_t kEndOfChain = ~UINT64_C(0);
inline constexpr uint64_t kWordsPerMegabyte = 131072;
inline constexpr uint64_t kStartBlockWords = kWordsPerMegabyte;  // 1 MB

inline uint64_t bitmapWords(const TableBlock* block) { return block[kLastIndex] - 3; }
inline TableBlock* nextBlock(const TableBlock* block) {
    uint64_t link = block[block[kLastIndex]];
    return link == kEndOfChain ? nullptr : reinterpret_cast<TableBlock*>(link);
}
}  // namespace table
#endif
