// The words of a table block by name, for the library's own C++ code: the
// header words, the end-of-chain mark and the walk to the next block.
#pragma once

#include <cstdint>

#include "q64/m5_primetable.h"

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
