#include "console/output.h"

#include <cstdio>
#include <cstring>

#include "console/texts_cp932.h"
#include "q64/m0_utilities.h"

namespace output {

void formatDoesNotMatchItsArguments() {}

namespace {
Encoding encoding = Encoding::Cp932;
std::FILE* stream = stdout;

void writeBytes(const char* p, size_t n) {
    if (n != 0 && stream != nullptr) std::fwrite(p, 1, n, stream);
}

// The text to write for `text`: in UTF-8 mode, a catalogue text (known by its
// address) becomes its UTF-8 form; any other text stays as it is.
const char* encoded(const char* text) {
    if (encoding == Encoding::Cp932) return text;
    for (const text::CatalogueEntry& entry : text::catalogue)
        if (entry.cp932 == text) return entry.utf8;
    return text;
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

void setEncoding(Encoding e) { encoding = e; }
void setStream(std::FILE* s) { stream = s; }

void write(const char* format, const Arg* args, size_t count) {
    format = encoded(format);
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
            if (a.kind == Arg::Kind::Number) {
                writeSigned(a.number);
            } else if (a.text != nullptr) {
                const char* t = encoded(a.text);
                writeBytes(t, std::strlen(t));
            }
        }
        p += text ? 1 : 4;
        run = p + 1;
    }
    writeBytes(run, static_cast<size_t>(p - run));
}

}  // namespace output

void sayPlain(const char* text) {
    text = output::encoded(text);
    output::writeBytes(text, std::strlen(text));
}

void flushOutput() {
    if (output::stream != nullptr) std::fflush(output::stream);
}
