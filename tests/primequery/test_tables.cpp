#include "tests/primequery/test_tables.h"

#include <stdexcept>

#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace testtables {

Table::Table(std::initializer_list<uint64_t> blockWords) {
    for (uint64_t words : blockWords) {
        blocks_.push_back(std::make_unique<uint64_t[]>(words));
        uint64_t* block = blocks_.back().get();
        int64_t rc = blocks_.size() == 1 ? _5_prmnew(words, block) : _5_prmexpd(words, block, head());
        if (rc != 0) throw std::runtime_error("table block refused");
    }
}

uint64_t Table::largest() const { return _5_prmtmax(head()).lo; }

const Table& startTable() {
    static const Table table({table::kStartBlockWords});
    return table;
}

}  // namespace testtables
