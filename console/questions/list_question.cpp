// list A B: the primes p with A <= p <= B, ascending, one per line, written
// through a 1 MB buffer straight to standard output.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console/questions/answers.h"
#include "console/questions/interval_operands.h"
#include "console/questions/interval_progress.h"
#include "q64/m5_primetable.h"

namespace oneshot {
namespace {

constexpr size_t kBufferBytes = size_t{1} << 20;

struct Lines {
    std::vector<char> buffer = std::vector<char>(kBufferBytes);
    size_t used = 0;
    bool failed = false;

    void flush() {
        if (used != 0 && std::fwrite(buffer.data(), 1, used, stdout) != used) failed = true;
        used = 0;
    }
};

// Two decimal digits per step, written backwards from `end`; answers the
// first character.
char* decimalBefore(char* end, uint64_t n) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    while (n >= 100) {
        const uint64_t pair = n % 100;
        n /= 100;
        end -= 2;
        std::memcpy(end, kPairs + 2 * pair, 2);
    }
    if (n >= 10) {
        end -= 2;
        std::memcpy(end, kPairs + 2 * n, 2);
    } else {
        *--end = static_cast<char>('0' + n);
    }
    return end;
}

int writeLines(const uint64_t* primes, uint64_t count, void* context) {
    auto& lines = *static_cast<Lines*>(context);
    for (uint64_t i = 0; i < count; ++i) {
        if (lines.used + 21 > kBufferBytes) lines.flush();
        char digits[24];
        char* end = digits + sizeof digits;
        *--end = '\n';
        const char* first = decimalBefore(end, primes[i]);
        const size_t n = static_cast<size_t>(digits + sizeof digits - first);
        std::memcpy(lines.buffer.data() + lines.used, first, n);
        lines.used += n;
    }
    return lines.failed ? 1 : 0;
}

}  // namespace

void answerList(Answers& out, const std::vector<std::string>& operands) {
    uint64_t a = 0, b = 0;
    if (!intervalOperands(out, operands, a, b)) return;
    Lines lines;
    std::fflush(stdout);
    int64_t result;
    {
        IntervalProgress progress;
        result = _5_prmeach(a, b, writeLines, &lines);
    }
    lines.flush();
    std::fflush(stdout);
    if (result == -1) out.error(operands[0], "the work memory of the sieve was refused", kBeyondTable);
}

}  // namespace oneshot
