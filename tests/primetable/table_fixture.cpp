#include "tests/primetable/table_fixture.h"

#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace testtable {

std::vector<uint64_t> Chain::bitmap() const {
    std::vector<uint64_t> words;
    for (const auto& block : blocks)
        for (uint64_t i = 3; i < block[0]; ++i) words.push_back(block[i]);
    return words;
}

std::unique_ptr<uint64_t[]> junkBlock(uint64_t words) {
    auto block = std::make_unique<uint64_t[]>(words);
    for (uint64_t i = 0; i < words; ++i) block[i] = 0xA5A5A5A5A5A5A5A5u ^ i;
    return block;
}

Chain newTable(uint64_t words) {
    Chain chain;
    chain.blocks.push_back(junkBlock(words));
    _5_prmnew(words, chain.head());
    return chain;
}

Chain newLiteralTable(uint64_t words, literal::Work& work) {
    Chain chain;
    chain.blocks.push_back(junkBlock(words));
    literal::newTable(words, chain.head(), work);
    return chain;
}

void append(Chain& chain, uint64_t words) {
    uint64_t base = 0;
    uint64_t* last = nullptr;
    for (auto& block : chain.blocks) {
        base += table::bitmapWords(block.get());
        last = block.get();
    }
    chain.blocks.push_back(junkBlock(words));
    uint64_t* block = chain.blocks.back().get();
    last[last[0]] = reinterpret_cast<uint64_t>(block);
    _5_prminit(words - 1, block, base);
    sieveWork.head = chain.head();
    sieveWork.target = block;
    _5_setflg0();
    _5_setflg2();
    chain.head()[table::kLimit] = block[table::kLimit];
}

void appendLiteral(Chain& chain, uint64_t words, literal::Work& work) {
    chain.blocks.push_back(junkBlock(words));
    literal::append(words, chain.blocks.back().get(), chain.head(), work);
}

Chain buildChain(const std::vector<uint64_t>& sizes) {
    Chain chain = newTable(sizes.front());
    for (size_t i = 1; i < sizes.size(); ++i) append(chain, sizes[i]);
    return chain;
}

Chain buildLiteralChain(const std::vector<uint64_t>& sizes, literal::Work& work) {
    Chain chain = newLiteralTable(sizes.front(), work);
    for (size_t i = 1; i < sizes.size(); ++i) appendLiteral(chain, sizes[i], work);
    return chain;
}

}  // namespace testtable
