#include "console/table_chain.h"

#include "console/console_state.h"
#include "console/dialog_io.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/texts_cp932.h"
#include "platform/memory.h"
#include "primetable/prime_index.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace {

using table::kWordsPerMegabyte;
constexpr uint64_t kBigBlockMegabytes = 128;
constexpr uint64_t kBigBlockWords = kBigBlockMegabytes * kWordsPerMegabyte;
// A block's size in bytes stays below 2^31.
constexpr uint64_t kMaxBlockWords = uint64_t{1} << 28;
constexpr uint64_t kStepConfirmMegabytes = 256;
constexpr uint64_t kLargestStepMegabytes = 2047;
// Remainders of a large rebuild up to this size are not built.
constexpr uint64_t kSkippedRemainderMegabytes = 5;

TableBlock* obtain(uint64_t words) {
    auto* block = static_cast<TableBlock*>(platform::commitBlock(words * sizeof(uint64_t), primetable::sieveThreads()));
    if (block != nullptr) console.newestBlock = block;
    return block;
}

// Appends a 128 MB block to the table; false when memory is refused.
bool appendBigBlock() {
    TableBlock* block = obtain(kBigBlockWords);
    if (block == nullptr) return false;
    _5_prmexpd(kBigBlockWords, block, console.tableHead);
    return true;
}

// The remaining megabytes of a large rebuild, from the second block on.
int64_t buildRemainder(uint64_t remaining) {
    for (;;) {
        say(text::rebuildRemaining, decimalText(Q2Value{remaining, 0}));
        flushOutput();
        if (remaining < kBigBlockMegabytes) {
            if (remaining <= kSkippedRemainderMegabytes) return 1;
            return appendBlock(remaining * kWordsPerMegabyte) != nullptr ? 1 : -1;
        }
        if (!appendBigBlock()) return -1;
        remaining -= kBigBlockMegabytes;
        if (remaining == 0) return 1;
    }
}

}  // namespace

bool buildStartTable() {
    console.tableHead = nullptr;
    TableBlock* block = obtain(table::kStartBlockWords);
    console.newestBlock = block;
    if (block == nullptr) return false;
    if (_5_prmnew(table::kStartBlockWords, block) != 0) {
        platform::releaseBlock(block);  // never part of a chain
        console.newestBlock = nullptr;
        return false;
    }
    console.tableHead = block;
    return true;
}

TableFileCheck openTableFile(tablefile::Reader& reader, const char* name) {
    if (!tablefile::open(reader, name)) return TableFileCheck::Missing;
    // The current table is given up only for a file that can become a table.
    if (tablefile::check(reader)) return TableFileCheck::Checked;
    tablefile::close(reader);
    return TableFileCheck::NotTable;
}

tablefile::LoadResult replaceTableFromFile(tablefile::Reader& reader) {
    TableBlock* head = nullptr;
    TableBlock* newest = nullptr;
    tablefile::LoadResult result = tablefile::load(reader, &head, &newest, freeChain);
    tablefile::close(reader);
    if (result == tablefile::LoadResult::Damaged) return result;
    freeChain();
    console.tableHead = head;
    console.newestBlock = newest;
    // The prime-count index is counted from the bits that were read (those
    // of a partly read table too), before the statistics use it.
    primeindex::build(head);
    return result;
}

TableBlock* appendBlock(uint64_t words) {
    if (words >= kMaxBlockWords) return nullptr;
    TableBlock* block = obtain(words);
    if (block == nullptr) return nullptr;
    if (_5_prmexpd(words, block, console.tableHead) != 0) {
        platform::releaseBlock(block);  // never linked
        return nullptr;
    }
    return block;
}

void freeChain() {
    TableBlock* block = console.tableHead;
    console.tableHead = nullptr;
    console.newestBlock = nullptr;
    while (block != nullptr && block != reinterpret_cast<TableBlock*>(table::kEndOfChain)) {
        TableBlock* next = table::nextBlock(block);
        if (!platform::releaseBlock(block)) return;
        block = next;
    }
}

int64_t rebuildTable(uint64_t megabytes) {
    freeChain();
    console.primeMax = console.primeCount = console.tableQwords = 0;
    say(text::rebuildStep, decimalText(Q2Value{megabytes, 0}));
    flushOutput();
    int64_t result = -1;
    uint64_t first = megabytes <= kBigBlockMegabytes ? megabytes : kBigBlockMegabytes;
    TableBlock* block = obtain(first * kWordsPerMegabyte);  // 0 MB: refused
    if (block != nullptr && _5_prmnew(first * kWordsPerMegabyte, block) != 0) {
        platform::releaseBlock(block);
        console.newestBlock = block = nullptr;
    }
    if (block != nullptr) {
        console.tableHead = block;
        result = megabytes <= kBigBlockMegabytes ? 1 : buildRemainder(megabytes - kBigBlockMegabytes);
    }
    // A failed rebuild leaves the blocks built so far as the table (or none);
    // the statistics must describe that table, not the one asked for.
    if (result != 1) refreshStatistics();
    return result;
}

int64_t extendByMegabytes(uint64_t megabytes) {
    // The decimal texts live in a scratch block given back at once: each is
    // printed as soon as it is made.
    if (megabytes > kStepConfirmMegabytes) {
        say(text::extendStepLarge, decimalText(Q2Value{megabytes, 0}));
        if (!confirm(text::confirmPrompt)) return -1;
    }
    say(text::extendStep, decimalText(Q2Value{megabytes, 0}));
    if (megabytes > kLargestStepMegabytes) return -1;
    return appendBlock(megabytes * kWordsPerMegabyte) != nullptr ? 1 : -1;
}
