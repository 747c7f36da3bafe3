// Test helpers: blocks on the heap, chains built with the library's passes
// (the steps of an extension) and with the literal oracle.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "reference/literal_sieve.h"

namespace testtable {

struct Chain {
    std::vector<std::unique_ptr<uint64_t[]>> blocks;
    uint64_t* head() const { return blocks.front().get(); }
    // The bitmap words of all blocks, in order.
    std::vector<uint64_t> bitmap() const;
};

// A block of `words` words filled with a recognisable junk value.
std::unique_ptr<uint64_t[]> junkBlock(uint64_t words);

// One-block tables.
Chain newTable(uint64_t words);
Chain newLiteralTable(uint64_t words, literal::Work& work);

// Appends a block and sieves it: link, _5_prminit, _5_setflg0, _5_setflg2,
// head's limit (what an extension does).
void append(Chain& chain, uint64_t words);
void appendLiteral(Chain& chain, uint64_t words, literal::Work& work);

// Chains whose blocks have the given word counts.
Chain buildChain(const std::vector<uint64_t>& sizes);
Chain buildLiteralChain(const std::vector<uint64_t>& sizes, literal::Work& work);

}  // namespace testtable
