// Prime tables for the query tests: one block, a chain, the start table.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "primetable/table_words.h"

namespace testtables {

using u128 = unsigned __int128;

class Table {
public:
    // A chain of blocks of the given word counts: the first built with
    // _5_prmnew, each further one appended with _5_prmexpd.
    explicit Table(std::initializer_list<uint64_t> blockWords);
    const TableBlock* head() const { return blocks_.front().get(); }
    TableBlock* head() { return blocks_.front().get(); }
    uint64_t limit() const { return head()[table::kLimit]; }  // E
    uint64_t largest() const;                                  // P
    u128 largestSquare() const { return static_cast<u128>(largest()) * largest(); }
    u128 limitSquare() const { return static_cast<u128>(limit()) * limit(); }

private:
    std::vector<std::unique_ptr<uint64_t[]>> blocks_;
};

// The table built at start-up: one block of 131072 words (built once).
const Table& startTable();

}  // namespace testtables
