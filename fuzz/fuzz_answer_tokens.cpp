// Fuzz target: the answer line and its tokens. The input is standard input;
// every line the console reads (readAnswer) is compared with a plain model of
// the line rules (pieces of at most 127 bytes, cut at the first control byte,
// leading blanks and tabs skipped, empty lines asked again), and its tokens
// (takeNumber, skipToken) with the token rules: a token runs to the next
// blank; it is a number when it is all ASCII digits and below 2^128, and then
// its value is the one GMP reads from the same digits; anything else is a bad
// token, which ends the line.
#include <gmp.h>

#include <string>

#include "console/console_state.h"
#include "fuzz/console_input.h"

namespace {

// The model of the answer lines: the pieces fgets would return.
class Lines {
public:
    Lines(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // The next non-empty answer, as it stands after the cut and the skip;
    // false when the input ends first.
    bool next(std::string* answer) {
        while (at_ < size_) {
            std::string piece;
            while (at_ < size_ && piece.size() < 127) {
                const char c = static_cast<char>(data_[at_++]);
                piece += c;
                if (c == '\n') break;
            }
            size_t cut = 0;
            while (cut < piece.size() && static_cast<unsigned char>(piece[cut]) >= 32) ++cut;
            piece.resize(cut);
            size_t start = piece.find_first_not_of(" \t");
            if (start != std::string::npos) {
                *answer = piece.substr(start);
                return true;
            }
        }
        return false;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

bool allDigits(const std::string& t) { return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos; }

// Walks the tokens of the answer the console holds against the model.
void checkTokens(std::string rest) {
    mpz_t value, limit, got;
    mpz_inits(value, limit, got, nullptr);
    mpz_setbit(limit, 128);
    for (;;) {
        FUZZ_CHECK(rest == console.cursor);
        const Token t = takeNumber();
        if (rest.empty()) {
            FUZZ_CHECK(t == Token::End);
            break;
        }
        const std::string token = rest.substr(0, rest.find(' '));
        FUZZ_CHECK(console.tokenLen == token.size() || t == Token::Bad);
        bool number = allDigits(token);
        if (number) {
            mpz_set_str(value, token.c_str(), 10);
            number = mpz_cmp(value, limit) < 0;
        }
        FUZZ_CHECK(t == (number ? Token::Number : Token::Bad));
        if (!number) break;
        mpz_set_ui(got, console.inValue.hi);
        mpz_mul_2exp(got, got, 64);
        mpz_add_ui(got, got, console.inValue.lo);
        FUZZ_CHECK(mpz_cmp(got, value) == 0);
        skipToken();
        rest.erase(0, token.size());
        rest.erase(0, rest.find_first_not_of(" \t") == std::string::npos ? rest.size() : rest.find_first_not_of(" \t"));
    }
    mpz_clears(value, limit, got, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietConsoleInOwnDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputFromBytes input(data, size);
    Lines lines(data, size);
    std::string answer;
    while (readAnswer("")) {
        FUZZ_CHECK(lines.next(&answer));
        checkTokens(answer);
    }
    FUZZ_CHECK(!lines.next(&answer));
    // At the end of input every read answers "e" at once.
    FUZZ_CHECK(!readAnswer("") && answerIs('e'));
    return 0;
}
