#include "console/questions/question_table.h"

namespace oneshot {

// The routines that answer, one file each beside this one.
void answerIsPrime(Answers& out, const std::vector<std::string>& operands);
void answerNth(Answers& out, const std::vector<std::string>& operands);
void answerNext(Answers& out, const std::vector<std::string>& operands);
void answerFactor(Answers& out, const std::vector<std::string>& operands);
void answerCount(Answers& out, const std::vector<std::string>& operands);
void answerList(Answers& out, const std::vector<std::string>& operands);
void answerPi(Answers& out, const std::vector<std::string>& operands);

const std::vector<Question>& questions() {
    static const std::vector<Question> table = {
        {"isprime", "N...",
         "'N: prime', 'N: composite' or 'N: neither' (0 and 1); beyond\n"
         "the table's query limit proven prime by a checked certificate",
         1, kAnyNumber, answerIsPrime},
        {"nth", "K...",
         "'K: P', P the K-th prime (2 is the first), for K up to\n"
         "425656284035217743 (the last prime below 2^64); beyond the\n"
         "table's primes by counting",
         1, kAnyNumber, answerNth},
        {"next", "N [COUNT]",
         "the COUNT primes after N (1 without COUNT), one per line, up to\n"
         "the last prime below 2^128 (2^128-159)",
         1, 2, answerNext},
        {"factor", "N...", "'N: p q ...', the prime factors in ascending order, repeated", 1, kAnyNumber,
         answerFactor},
        {"count", "A B",
         "the number of primes from A to B (0 <= A <= B < 2^64), sieved\n"
         "on every thread without the table",
         2, 2, answerCount},
        {"list", "A B", "the primes from A to B (0 <= A <= B < 2^64), ascending, one per line", 2, 2,
         answerList},
        {"pi", "X...",
         "'X: N', N the number of primes <= X, for X below 2^64; beyond\n"
         "the table's largest prime by counting",
         1, kAnyNumber, answerPi},
    };
    return table;
}

const Question* findQuestion(const std::string& name) {
    for (const Question& q : questions())
        if (name == q.name) return &q;
    return nullptr;
}

std::string questionNames() {
    const std::vector<Question>& all = questions();
    std::string names;
    for (size_t i = 0; i < all.size(); ++i) {
        if (i > 0) names += i + 1 == all.size() ? " or " : ", ";
        names += all[i].name;
    }
    return names;
}

}  // namespace oneshot
