#include "console/output.h"

#include <cstdio>
#include <cstring>

#include "q64/m0_utilities.h"

namespace output {

void formatDoesNotMatchItsArguments() {}

namespace {
void writeBytes(const char* p, size_t n) {
    if (n != 0) std::fwrite(p, 1, n, stdout);
}

void writeSigned(int64_t v) {
    char digits[24];
    size_t n = 0;
    // The magnitude as unsigned, so the most negative value has one too.
    uint64_t magnitude = static_cast<uint64_t>(v);
    if (v < 0) {
        digits[n++] = '-';
        magnitude = 0 - magnitude;
    }
    n += _0_numtostr(digits + n, magnitude);
    writeBytes(digits, n);
}
}  // namespace

void write(const char* format, const Arg* args, size_t count) {
    size_t next = 0;
    const char* run = format;
    const char* p = format;
    for (; *p != '\0'; ++p) {
        if (*p != '%') continue;
        bool text = p[1] == 's';
        bool number = p[1] == 'I' && p[2] == '6' && p[3] == '4' && p[4] == 'd';
        if (!text && !number) continue;  // the compile-time check rules this out
        writeBytes(run, static_cast<size_t>(p - run));
        if (next < count) {
            const Arg& a = args[next++];
            if (a.kind == Arg::Kind::Number) writeSigned(a.number);
            else if (a.text != nullptr) writeBytes(a.text, std::strlen(a.text));
        }
        p += text ? 1 : 4;
        run = p + 1;
    }
    writeBytes(run, static_cast<size_t>(p - run));
}

}  // namespace output

void sayPlain(const char* text) { std::fputs(text, stdout); }

void flushOutput() { std::fflush(stdout); }
