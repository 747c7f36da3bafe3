// pi(x) and the n-th prime beyond the table against primecount: whole
// processes on the same x, `primes --threads 1 pi X` against `primecount X
// -t1` (and both on every thread), in interleaved rounds; the best time of
// each side and their ratio. The answers are compared too.
//
//   prime_count_bench [--rounds N] [--large] [--csv]
//
// --large adds pi(10^18) and pi(2^64 - 1) (minutes each, one round).
// The figures: pi_1t, pi_all, nth_1t; size = log10 of x (or of K).
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifndef Q64_PRIMES_BIN
#error "Q64_PRIMES_BIN names the primes program"
#endif

namespace {

struct Case {
    const char* figure;
    std::string operand;  // decimal
    double size;          // log10 of the operand
    bool nth;
    bool oneThread;
};

struct Run {
    double seconds = -1;
    std::string answer;
};

// Runs the command, returns its wall time and the last number it printed.
Run timed(const std::string& command) {
    Run run;
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return run;
    char line[256];
    std::string last;
    while (std::fgets(line, sizeof line, pipe) != nullptr) last = line;
    const int status = pclose(pipe);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) run.seconds = -1;
    // "X: N" from ours, "N" from primecount.
    const size_t colon = last.rfind(' ');
    run.answer = colon == std::string::npos ? last : last.substr(colon + 1);
    while (!run.answer.empty() && (run.answer.back() == '\n' || run.answer.back() == ' ')) run.answer.pop_back();
    return run;
}

std::string ours(const Case& c) {
    return std::string(Q64_PRIMES_BIN) + (c.oneThread ? " --threads 1 " : " ") + (c.nth ? "nth " : "pi ") + c.operand;
}

std::string peer(const Case& c) {
    return std::string("primecount ") + (c.nth ? "-n " : "") + c.operand + (c.oneThread ? " -t1" : "");
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 3;
    bool csv = false, large = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--csv") == 0) csv = true;
        else if (std::strcmp(argv[i], "--large") == 0) large = true;
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: prime_count_bench [--rounds N] [--large] [--csv]\n");
            return 2;
        }
    }
    if (std::system("command -v primecount >/dev/null 2>&1") != 0) {
        std::fprintf(stderr, "primecount: not found; install it with `apt-get install -y primecount`\n");
        return 1;
    }
    std::vector<Case> cases = {
        {"pi_1t", "1000000000000", 12, false, true},
        {"pi_1t", "100000000000000", 14, false, true},
        {"pi_1t", "10000000000000000", 16, false, true},
        {"pi_all", "10000000000000000", 16, false, false},
        {"nth_1t", "1000000000000", 12, true, true},
    };
    if (large) {
        rounds = 1;
        cases.push_back({"pi_all", "1000000000000000000", 18, false, false});
        cases.push_back({"pi_all", "18446744073709551615", std::log10(18446744073709551615.0), false, false});
    }
    std::vector<double> best(cases.size() * 2, 1e300);
    bool agree = true;
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < cases.size(); ++i) {
            const Run a = timed(ours(cases[i]));
            const Run b = timed(peer(cases[i]));
            if (a.seconds < 0 || b.seconds < 0 || a.answer != b.answer) {
                std::fprintf(stderr, "%s %s: ours %s, primecount %s\n", cases[i].figure, cases[i].operand.c_str(),
                             a.answer.c_str(), b.answer.c_str());
                agree = false;
            }
            if (a.seconds >= 0 && a.seconds < best[2 * i]) best[2 * i] = a.seconds;
            if (b.seconds >= 0 && b.seconds < best[2 * i + 1]) best[2 * i + 1] = b.seconds;
        }
    if (csv) std::printf("figure,size,ours_s,peer,peer_s\n");
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        if (csv)
            std::printf("%s,%.2f,%.4f,primecount,%.4f\n", c.figure, c.size, best[2 * i], best[2 * i + 1]);
        else
            std::printf("%-7s %-22s ours %8.3f s  primecount %8.3f s  ratio %.2f\n", c.figure, c.operand.c_str(),
                        best[2 * i], best[2 * i + 1], best[2 * i] / best[2 * i + 1]);
    }
    return agree ? 0 : 1;
}
