// Soak run of the console: a million random answer lines through the
// program on its start table, every answer compared with the literal
// reference methods.
//
//   console_soak [lines=1000000] [seed=12]
//
// The program (build/bench/console/primes, beside this one) runs as a child
// with the script on its standard input: the four questions with numbers in
// every range (small, within the table, up to the largest number a query
// takes, beyond it, up to 2^128 - 1), bad tokens, the end of a dialog by "e",
// next-prime lists long enough to be confirmed, and visits of the table menu
// and its dialogs that leave the table as it is. What the program prints is
// read as it comes: each answer must appear, in order, as the reference
// answers it (formatted with the console's own texts). Reports lines per
// second and the child's resident memory near the start and at the end.
//
// Answers for numbers above the table's limit take the literal methods
// milliseconds each, so they are drawn from pools answered once up front.
// The environment variable Q64_SOAK_SCRIPT names a file to receive the
// script, to replay by hand.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"
#include "console/output.h"
#include "console/texts_cp932.h"
#include "primetable/table_words.h"
#include "q64/m5_primequery.h"
#include "reference/literal_query.h"
#include "reference/literal_sieve.h"

namespace {

using u128 = unsigned __int128;

std::string decimal(u128 v) {
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    return s;
}

// What say() prints for the format and arguments, as bytes.
template <class... Args>
std::string said(output::Format<std::decay_t<Args>...> format, const Args&... args) {
    char* buf = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buf, &size);
    FILE* saved = stdout;
    stdout = memory;
    say(format, args...);
    std::fflush(memory);
    stdout = saved;
    std::fclose(memory);
    std::string out(buf, size);
    std::free(buf);
    return out;
}

// The start table, sieved by the literal method, and its primes.
struct Reference {
    std::vector<uint64_t> block = std::vector<uint64_t>(table::kStartBlockWords);
    std::vector<uint64_t> primes;  // every prime below the table's limit
    uint64_t limit = 0;
    u128 queryLimit = 0;

    Reference() {
        literal::Work work;
        literal::newTable(table::kStartBlockWords, block.data(), work);
        limit = block[table::kLimit];
        for (uint64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53, 59, 61, 67, 71, 73, 79, 83,
                           89, 97, 101, 103, 107, 109, 113, 127, 131, 137, 139, 149, 151, 157, 163, 167, 173, 179,
                           181, 191, 193, 197, 199})
            primes.push_back(p);
        for (uint64_t pos = 0; pos < 64 * table::bitmapWords(block.data()); ++pos)
            if (!((block[table::kFirstBitmapWord + pos / 64] >> (63 - pos % 64)) & 1))
                primes.push_back(literal::numberOf(pos));
        queryLimit = static_cast<u128>(primes.back()) * primes.back();
    }
    const TableBlock* head() const { return block.data(); }
};

// One number's answer in each of the questions that take a number line.
std::string primalityAnswer(const Reference& ref, u128 n) {
    std::string out = said(text::primeTestEcho, decimal(n).c_str());
    switch (literal::primetst(n, ref.head())) {
        case 0: return out + said(text::primeTestPrime);
        case 1: return out + said(text::primeTestNotPrime);
        default: return out + said(text::primeTestUndecided);
    }
}

std::string nthAnswer(const Reference& ref, u128 n) {
    std::string out = said(text::nthPrimeEcho, decimal(n).c_str());
    if (n == 0) return out + said(text::nthPrimeZero);
    if (n > ref.primes.size()) return out + said(text::nthPrimeAboveCount, static_cast<int64_t>(ref.primes.size()));
    return out + said(text::textFormat, decimal(ref.primes[static_cast<size_t>(n) - 1]).c_str());
}

std::string factorAnswer(const Reference& ref, u128 n) {
    static FactorList list;
    std::string out = said(text::factoriseEcho, decimal(n).c_str());
    const int64_t entries = literal::prmfct(&list, n, ref.head());
    if (entries < 0) return out + said(text::factoriseRefused);
    if (entries == 1) return out + said(text::factorisePrime);
    char text[256];
    return out + said(text::textFormat, _5_prmfctput(text, &list));
}

// The list after `start`: count primes, or the message where they run out.
std::string nextAnswer(const Reference& ref, u128 start, int64_t count) {
    std::string out = said(text::nextPrimesCount, count);
    u128 running = start;
    for (int64_t line = 0; line < count; ++line) {
        const u128 next = literal::prmnext(running, ref.head());
        if (next == literal::kFailed) return out + said(text::nextPrimesTooLarge);
        out += said(text::nextPrimesLine, line, decimal(next).c_str());
        running = next;
    }
    return out;
}

class Script {
public:
    Script(const Reference& ref, uint64_t seed) : ref_(ref), rng_(seed) {}

    std::string input;
    std::vector<std::string> answers;  // in the order the program prints them
    uint64_t lines = 0;

    void addUnit() {
        switch (rng_() % 20) {
            case 0: case 1: case 2: case 3: case 4: case 5: numberDialog('1'); break;
            case 6: case 7: case 8: case 9: numberDialog('2'); break;
            case 10: case 11: case 12: case 13: nextDialog(); break;
            case 14: case 15: case 16: case 17: case 18: numberDialog('4'); break;
            default: tableMenuVisit(); break;
        }
    }

private:
    void line(const std::string& text) {
        input += text;
        input += '\n';
        ++lines;
    }
    uint64_t below(uint64_t n) { return rng_() % n; }
    u128 wide() { return (static_cast<u128>(rng_()) << 64) | rng_(); }

    // A number from one of the ranges, and whether its answer is cheap.
    u128 number(bool* pooled) {
        *pooled = false;
        switch (below(10)) {
            case 0: return below(300);
            case 1: case 2: case 3: return below(ref_.limit + 1000);
            case 4: case 5: *pooled = true; return 0;
            case 6: return ref_.queryLimit + below(1000);  // just beyond the largest
            case 7: return (static_cast<u128>(1) << 64) - below(3);
            case 8: return ~static_cast<u128>(0) - below(3);
            default: return wide() >> below(128);
        }
    }

    // A pool of numbers between the table's limit and the query limit, each
    // with its answers, built once.
    struct Pooled {
        u128 n;
        std::string primality, factors;
    };
    const Pooled& pooled() {
        if (pool_.empty()) {
            std::mt19937_64 g(rng_());
            for (int i = 0; i < 160; ++i) {
                u128 n = ref_.limit + g() % static_cast<uint64_t>(ref_.queryLimit - ref_.limit);
                if (i % 3 == 0) n = ref_.primes[g() % ref_.primes.size()] * static_cast<u128>(ref_.primes[g() % ref_.primes.size()]);
                if (i % 5 == 0)  // a prime: the next one after a random start
                    n = literal::prmnext(n, ref_.head());
                pool_.push_back({n, primalityAnswer(ref_, n), factorAnswer(ref_, n)});
            }
        }
        return pool_[below(pool_.size())];
    }

    // Starts just below the largest number a query takes, each with its list
    // of two (the literal method divides by every table prime), built once.
    const std::pair<u128, std::string>& nearTheEnd() {
        if (ends_.empty())
            for (int i = 0; i < 40; ++i) {
                const u128 start = ref_.queryLimit - rng_() % 3000;
                ends_.emplace_back(start, said(text::nextPrimesEcho, decimal(start).c_str()) + nextAnswer(ref_, start, 2));
            }
        return ends_[below(ends_.size())];
    }

    // Numbers beyond the largest a factorisation takes, with their answers,
    // built once.
    const std::pair<u128, std::string>& beyond() {
        if (beyond_.empty())
            for (int i = 0; i < 40; ++i) {
                u128 n = (wide() >> below(64)) | (static_cast<u128>(1) << 64);
                if (i < 4) n = (static_cast<u128>(1) << 64) - 1 - i;
                if (i >= 4 && i < 8) n = ~static_cast<u128>(0) - (i - 4);
                beyond_.emplace_back(n, factorAnswer(ref_, n));
            }
        return beyond_[below(beyond_.size())];
    }

    std::string badToken() {
        static const char* const kBad[] = {"12x", "-5", "+7", "3.0", "1,000", "0x10", "E", "e1",
                                           "\x82\x50\x82\x51",  // full-width digits in CP932
                                           "340282366920938463463374607431768211456",
                                           "99999999999999999999999999999999999999999"};
        return kBad[below(sizeof kBad / sizeof kBad[0])];
    }

    // "1", "2" or "4": lines of numbers, some ending in a bad token, then "e".
    void numberDialog(char key) {
        line(std::string(1, key));
        for (uint64_t l = 1 + below(6); l > 0; --l) {
            // Lines stay below 127 bytes: the console reads longer ones in pieces.
            std::string text;
            for (uint64_t k = 1 + below(4); k > 0 && text.size() < 126 - 2 - 39 - 60; --k) {
                bool fromPool;
                u128 n = key == '2' ? (below(2) ? below(ref_.primes.size() + 2) : number(&fromPool)) : number(&fromPool);
                if (key == '2') fromPool = false;
                std::string answer;
                if (fromPool) {
                    const Pooled& p = pooled();
                    n = p.n;
                    answer = key == '1' ? p.primality : p.factors;
                } else if (key == '4' && n > ref_.limit && n <= ref_.queryLimit) {
                    n = below(ref_.limit);  // a factorisation the literal method does at once
                } else if (key == '4' && n > ref_.queryLimit) {
                    // Refused only after dividing by every table prime, in both
                    // methods: drawn from a pool, and seldom.
                    const auto& [far, refused] = beyond();
                    n = far;
                    answer = refused;
                    if (below(32)) n = below(300), answer.clear();
                }
                if (answer.empty())
                    answer = key == '1' ? primalityAnswer(ref_, n) : key == '2' ? nthAnswer(ref_, n) : factorAnswer(ref_, n);
                if (!text.empty()) text.append(1 + below(2), ' ');
                text += decimal(n);
                answers.push_back(answer);
            }
            if (below(6) == 0) text.append(" ").append(badToken()).append(" 17");  // the rest of the line is dropped
            line(text);
        }
        line(below(2) ? "e" : " e");
    }

    // "3": start numbers with small counts, sometimes a count to confirm;
    // the dialog ends at a bad token.
    void nextDialog() {
        line("3");
        for (uint64_t l = 1 + below(4); l > 0; --l) {
            if (below(4) == 0) {  // near the largest number a query takes
                const auto& [start, answer] = nearTheEnd();
                line(decimal(start) + " 2");
                answers.push_back(answer);
                continue;
            }
            u128 start = below(10) ? below(ref_.limit + 1000) : wide();
            int64_t count = static_cast<int64_t>(below(4));
            const bool confirm = below(40) == 0;
            if (confirm) count = 100 + static_cast<int64_t>(below(20));
            std::string answer = said(text::nextPrimesEcho, decimal(start).c_str());
            if (confirm) {
                const bool yes = below(2);
                line(decimal(start) + " " + std::to_string(count));
                line(yes ? "y" : "n");
                // The question, then (after the prompt) the list.
                answers.push_back(answer + said(text::nextPrimesAsk, count));
                if (!yes) continue;
                answer = nextAnswer(ref_, start, count).substr(said(text::nextPrimesCount, count).size());
            } else {
                line(count == 1 && below(2) ? decimal(start) : decimal(start) + " " + std::to_string(count));
                answer += nextAnswer(ref_, start, count);
            }
            answers.push_back(answer);
        }
        line(below(2) ? "e" : badToken());
    }

    // The table menu and its dialogs, left without changing the table.
    void tableMenuVisit() {
        line("a");
        static const char* const kVisits[][2] = {
            {"x", "e"}, {"b", "e"}, {"f", "e"}, {"f", "ww"}, {"x", "-1"}, {"b", "99999999999999999999999"},
            {"zz", nullptr}, {"b", "3"},  // the rebuild question, answered "n" below
        };
        for (uint64_t v = 1 + below(3); v > 0; --v) {
            const auto& visit = kVisits[below(sizeof kVisits / sizeof kVisits[0])];
            line(visit[0]);
            if (visit[1]) line(visit[1]);
            if (visit[1] && std::strcmp(visit[1], "3") == 0) line("n");
        }
        line("e");
    }

    const Reference& ref_;
    std::mt19937_64 rng_;
    std::vector<Pooled> pool_;
    std::vector<std::pair<u128, std::string>> ends_, beyond_;
};

// Output from `from` to `to` holds the start of an answer: a line that
// begins with a number and a blank (menus begin "1:").
bool holdsAnAnswer(const std::string& out, size_t from, size_t to) {
    for (size_t at = out.find('\n', from); at != std::string::npos && at < to; at = out.find('\n', at + 1)) {
        size_t end = at + 1;
        while (end < to && out[end] >= '0' && out[end] <= '9') ++end;
        if (end > at + 1 && end < to && out[end] == ' ') return true;
    }
    return false;
}

uint64_t residentKb(pid_t pid) {
    char path[64], text[256];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    FILE* f = std::fopen(path, "r");
    uint64_t kb = 0;
    while (f && std::fgets(text, sizeof text, f))
        if (std::sscanf(text, "VmRSS: %" SCNu64 " kB", &kb) == 1) break;
    if (f) std::fclose(f);
    return kb;
}

// The console built beside this program, by its absolute name (the child
// changes its directory first).
std::string programPath(const char* self) {
    char resolved[4096];
    std::string dir(realpath(self, resolved) ? resolved : self);
    dir = dir.substr(0, dir.rfind('/') + 1);
    return dir + "../console/primes";
}

}  // namespace

int main(int argc, char** argv) {
    const uint64_t wanted = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 12;
    auto start = bench::Clock::now();
    Reference ref;
    Script script(ref, seed);
    while (script.lines + 1 < wanted) script.addUnit();
    while (script.lines + 1 < wanted) script.input += "\n", ++script.lines;  // empty lines: the prompt again
    const std::string last = "e\n";  // leaves the main menu
    if (const char* dump = std::getenv("Q64_SOAK_SCRIPT")) {  // the script, to replay by hand
        FILE* f = std::fopen(dump, "wb");
        if (f) std::fwrite(script.input.data(), 1, script.input.size(), f), std::fclose(f);
    }
    std::printf("script: %" PRIu64 " lines, %zu answers, %.1f MB, made in %.1f s (seed %" PRIu64 ")\n",
                script.lines + 1, script.answers.size(), script.input.size() / 1048576.0,
                bench::secondsSince(start), seed);

    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return 1;
    signal(SIGPIPE, SIG_IGN);
    const std::string program = programPath(argv[0]);
    char dir[] = "/tmp/q64-soak-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    pid_t child = fork();
    if (child == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        close(in[1]);
        close(out[0]);
        if (chdir(dir) != 0) _exit(126);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    start = bench::Clock::now();
    // The last line, which ends the program, follows only once its resident
    // memory at the end has been read.
    std::promise<void> measured;
    std::thread writer([&] {
        auto send = [&](const std::string& text) {
            for (size_t at = 0; at < text.size();) {
                ssize_t n = write(in[1], text.data() + at, std::min<size_t>(65536, text.size() - at));
                if (n <= 0) return;
                at += static_cast<size_t>(n);
            }
        };
        send(script.input);
        measured.get_future().wait();
        send(last);
        close(in[1]);
    });

    // Each answer must start within a short distance of the previous one,
    // with only prompts and headings between.
    constexpr size_t kSlack = 4096;
    std::string seen;
    size_t cursor = 0, checked = 0;
    uint64_t rssStart = 0, rssEnd = 0;
    bool ended = false, failed = false;
    char buf[65536];
    while (checked < script.answers.size() && !failed) {
        const std::string& want = script.answers[checked];
        size_t at = seen.find(want, cursor);
        if (at != std::string::npos && at <= cursor + kSlack && !holdsAnAnswer(seen, cursor, at)) {
            cursor = at + want.size();
            if (++checked == script.answers.size() / 100) rssStart = residentKb(child);
            if (cursor > (1u << 20)) {
                seen.erase(0, cursor);
                cursor = 0;
            }
            continue;
        }
        if (ended || seen.size() > cursor + kSlack + want.size()) {
            std::printf("answer %zu differs: wanted\n%s\naround the last one found\n%s\n", checked, want.c_str(),
                        seen.substr(cursor > 600 ? cursor - 600 : 0, 1200).c_str());
            failed = true;
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, 120000) <= 0) {
            std::printf("the program printed nothing for two minutes\n");
            failed = true;
            break;
        }
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) ended = true;
        else seen.append(buf, static_cast<size_t>(n));
    }
    const double seconds = bench::secondsSince(start);
    usleep(100000);  // the program reads the lines after the last answer
    rssEnd = residentKb(child);
    measured.set_value();
    while (read(out[0], buf, sizeof buf) > 0) {
    }
    writer.join();
    int status = 0;
    waitpid(child, &status, 0);
    std::system((std::string("rm -rf ") + dir).c_str());
    std::printf("%zu of %zu answers as the literal methods give them; exit status %d\n", checked,
                script.answers.size(), WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    std::printf("%.1f s, %.0f lines per second\n", seconds, (script.lines + 1) / seconds);
    std::printf("resident memory of the console: %" PRIu64 " kB after 1 %% of the answers, %" PRIu64
                " kB at the end (%+" PRId64 " kB)\n",
                rssStart, rssEnd, static_cast<int64_t>(rssEnd) - static_cast<int64_t>(rssStart));
    return failed || checked != script.answers.size() || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ? 1 : 0;
}
