#include "console/query_text.h"

#include "console/output.h"
#include "console/texts_cp932.h"
#include "q64/m2_scratch.h"
#include "q64/m5_primequery.h"

namespace {
constexpr uint64_t kFactorTextWords = 32;  // 256 bytes; the longest text is about 130
}  // namespace

void sayFactorisation(const FactorList* list) {
    char* block = reinterpret_cast<char*>(_2_alocs(kFactorTextWords));
    if (block == nullptr) {
        say(text::textFormat, text::noNumberText);
        return;
    }
    say(text::textFormat, _5_prmfctput(block, list));
    _2_frees();
}
