// Fuzz target: the table-file loader (tablefile::check and load, as the file
// dialog runs them). The file is either the input's bytes, or a real table
// of one to four small blocks, sieved and saved here, then damaged as the
// input says (bytes changed, cut short or lengthened). A file the check
// refuses, or whose checksum does not match, gives no table and never asks
// for the current table's memory. A file that loads gives a chain whose every
// block checks out: links, baseWord, limits, and, when the file was sealed by
// its checksum trailer, every bitmap word equal to that of a fresh sieve of
// the same range. Nothing leaks.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/memory.h"
#include "primetable/table_file.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace {

constexpr const char* kName = "prime.dat";

void writeFile(const uint8_t* data, size_t size) {
    FILE* f = std::fopen(kName, "wb");
    FUZZ_CHECK(f != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, f) == size);
    FUZZ_CHECK(std::fclose(f) == 0);
}

// A real table of one to four small blocks, saved, then damaged.
void writeDamagedTable(fuzz::Bytes& in) {
    std::vector<TableBlock*> chain;
    const uint64_t blocks = 1 + in.below(4);
    for (uint64_t i = 0; i < blocks; ++i) {
        const uint64_t words = 5 + in.below(i == 0 ? 300 : 60);
        auto* b = static_cast<TableBlock*>(platform::commitBlock(words * 8));
        FUZZ_CHECK(b != nullptr);
        if (i == 0) {
            b[0] = words - 1;
            FUZZ_CHECK(_5_prmnew(words, b) == 0);
        } else {
            FUZZ_CHECK(_5_prmexpd(words, b, chain.front()) == 0);
        }
        chain.push_back(b);
    }
    FUZZ_CHECK(tablefile::save(chain.front(), kName) > 0);
    for (TableBlock* b : chain) platform::releaseBlock(b);
    const int fd = open(kName, O_RDWR);
    FUZZ_CHECK(fd >= 0);
    const off_t size = lseek(fd, 0, SEEK_END);
    for (uint64_t edits = in.below(4); edits > 0; --edits) {
        const uint8_t kind = in.byte();
        const uint64_t at = in.below(static_cast<uint64_t>(size) + 8);
        const uint8_t value = in.byte();
        if (kind % 4 == 0) {
            FUZZ_CHECK(ftruncate(fd, static_cast<off_t>(at)) == 0);
        } else {
            uint8_t byte = 0;
            FUZZ_CHECK(pread(fd, &byte, 1, static_cast<off_t>(at)) >= 0);
            byte = kind % 4 == 1 ? static_cast<uint8_t>(byte ^ (1u << (value & 7))) : value;
            FUZZ_CHECK(pwrite(fd, &byte, 1, static_cast<off_t>(at)) == 1);
        }
    }
    close(fd);
}

// Every block of the loaded chain against a fresh sieve of the same range;
// returns the number of blocks.
uint64_t checkChain(TableBlock* head, bool sealed) {
    uint64_t base = 0, blocks = 0;
    const TableBlock* last = nullptr;
    for (const TableBlock* b = head; b; b = table::nextBlock(b)) {
        FUZZ_CHECK(b[table::kLastIndex] >= 4);
        FUZZ_CHECK(b[table::kBaseWord] == base);
        base += table::bitmapWords(b);
        if (b != head) FUZZ_CHECK(b[table::kLimit] == _5_prmtbcap(base));
        last = b;
        ++blocks;
    }
    FUZZ_CHECK(last[last[table::kLastIndex]] == table::kEndOfChain);
    FUZZ_CHECK(head[table::kLimit] == _5_prmtbcap(base));
    if (!sealed) return blocks;
    auto* fresh = static_cast<TableBlock*>(platform::commitBlock((base + 4) * 8));
    FUZZ_CHECK(fresh != nullptr);
    fresh[0] = base + 3;
    FUZZ_CHECK(_5_prmnew(base + 4, fresh) == 0);
    uint64_t k = 0;
    for (const TableBlock* b = head; b; b = table::nextBlock(b))
        for (uint64_t i = 0; i < table::bitmapWords(b); ++i, ++k)
            FUZZ_CHECK(b[table::kFirstBitmapWord + i] == fresh[table::kFirstBitmapWord + k]);
    platform::releaseBlock(fresh);
    return blocks;
}

void releaseChain(TableBlock* head) {
    while (head) {
        TableBlock* next = table::nextBlock(head);
        FUZZ_CHECK(platform::releaseBlock(head));
        head = next;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::workInOwnDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint64_t live = platform::liveBlockCount();
    const uint8_t mode = in.byte();
    if (mode & 1) {
        writeDamagedTable(in);
    } else {
        size_t rest = 0;
        const uint8_t* bytes = in.rest(&rest);
        writeFile(bytes, rest);
    }
    // Memory refused after a few blocks, sometimes, as a load may meet it.
    if (mode & 2) platform::testing::refuseAfter((mode >> 2) & 3, UINT64_MAX);
    tablefile::Reader reader;
    FUZZ_CHECK(tablefile::open(reader, kName));
    if (tablefile::check(reader)) {
        TableBlock* head = nullptr;
        TableBlock* newest = nullptr;
        static int roomsMade;
        roomsMade = 0;
        const tablefile::LoadResult result =
            tablefile::load(reader, &head, &newest, (mode & 64) ? +[] { ++roomsMade; } : nullptr);
        platform::testing::clearRefusals();
        FUZZ_CHECK((head == nullptr) == (newest == nullptr));
        FUZZ_CHECK(roomsMade <= 1);
        // A damaged file gives no table and never costs the old one.
        if (result == tablefile::LoadResult::Damaged) FUZZ_CHECK(reader.sealed && !head && roomsMade == 0);
        // Nothing changed the file since its check: only refused memory
        // makes a load partial.
        if ((mode & 2) == 0) FUZZ_CHECK(result != tablefile::LoadResult::Partial);
        const uint64_t blocks = head ? checkChain(head, reader.sealed) : 0;
        if (result == tablefile::LoadResult::Complete) FUZZ_CHECK(blocks == reader.images);
        releaseChain(head);
    }
    platform::testing::clearRefusals();
    tablefile::close(reader);
    FUZZ_CHECK(platform::liveBlockCount() == live);
    return 0;
}
