// The console's one printf-style output routine.
//
// Every message goes through say(format, args...). A format holds two
// conversions only: "%I64d", a signed 64-bit decimal, and "%s", a NUL-ended
// text; everything else is written byte for byte. The catalogue's texts are
// CP932 bytes; in UTF-8 mode every catalogue text, as a format or as a %s
// argument, is written in its UTF-8 form instead (other texts, such as
// numbers and paths, are written as they are). The
// format is checked when the program is compiled: each conversion must meet
// an argument of its kind (an integer for %I64d, a char pointer for %s), and
// the counts must agree, so a catalogue text and its call cannot drift apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <type_traits>

namespace output {

enum class Encoding { Cp932, Utf8 };
// The encoding of the catalogue's texts from now on (CP932 at start).
void setEncoding(Encoding encoding);

// Where the console's messages go: standard output at start. Null discards
// them (a one-shot question's progress lines when no one watches).
void setStream(std::FILE* stream);

struct Arg {
    enum class Kind { Number, Text } kind;
    int64_t number;
    const char* text;
};

template <class T>
constexpr Arg::Kind kindOf() {
    using U = std::decay_t<T>;  // arrays are texts
    if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) {
        return Arg::Kind::Text;
    } else {
        static_assert(std::is_integral_v<U> && !std::is_same_v<U, bool>,
                      "say() takes integers for %I64d and char pointers for %s");
        return Arg::Kind::Number;
    }
}

// Not constexpr: reaching it while a format is checked stops the compilation.
void formatDoesNotMatchItsArguments();

template <class... Args>
struct Format {
    const char* text;
    consteval Format(const char* format) : text(format) {
        constexpr Arg::Kind kinds[] = {kindOf<Args>()..., Arg::Kind::Number};
        size_t used = 0;
        for (const char* p = format; *p != '\0'; ++p) {
            if (*p != '%') continue;
            Arg::Kind kind;
            if (p[1] == 's') {
                kind = Arg::Kind::Text;
                p += 1;
            } else if (p[1] == 'I' && p[2] == '6' && p[3] == '4' && p[4] == 'd') {
                kind = Arg::Kind::Number;
                p += 4;
            } else {
                formatDoesNotMatchItsArguments();  // an unknown conversion
            }
            if (used == sizeof...(Args) || kinds[used] != kind) formatDoesNotMatchItsArguments();
            ++used;
        }
        if (used != sizeof...(Args)) formatDoesNotMatchItsArguments();
    }
};

void write(const char* format, const Arg* args, size_t count);

template <class T>
Arg toArg(const T& v) {
    if constexpr (kindOf<T>() == Arg::Kind::Text) return Arg{Arg::Kind::Text, 0, v};
    else return Arg{Arg::Kind::Number, static_cast<int64_t>(v), nullptr};
}

}  // namespace output

// Writes the format to standard output with its conversions filled in.
template <class... Args>
void say(output::Format<std::decay_t<Args>...> format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        output::write(format.text, nullptr, 0);
    } else {
        const output::Arg list[] = {output::toArg(args)...};
        output::write(format.text, list, sizeof...(Args));
    }
}

// Writes a text as it is, without looking for conversions (the opening line).
void sayPlain(const char* text);
// Flushes standard output; every read of an answer line does this first.
void flushOutput();
