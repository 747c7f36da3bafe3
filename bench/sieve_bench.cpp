// The sieve against primesieve on the same range, on one thread and on all.
//
//   cmake -S . -B build/bench -DQ64_BENCH=ON -DQ64_TESTS=OFF
//   cmake --build build/bench --target sieve_bench
//   build/bench/bench/sieve_bench [repeats=3]
//   build/bench/bench/sieve_bench --csv [repeats=3]
//
// Times _5_prmnew on a 128 MB block (16777216 words, the numbers below
// 4,697,619,571) on one thread (--threads 1) and on every hardware thread,
// and `primesieve -t1 <limit - 1> --count` and `primesieve <limit - 1>
// --count` (its default thread count) as subprocesses, prints the times and
// ratios (wall clock, and CPU time, which varies less on a busy machine), and
// checks that all count the same primes. Also times the 1 MB start table (the
// first build of the process, which computes the pre-sieve patterns, and the
// mean of 100 builds) and a 128 MB block appended to the 128 MB table with
// _5_prmexpd (the step of an extension or a rebuild), on one thread and on
// all, whose prime count is checked against primesieve too.
//
// With --csv: tables of 1 to 128 MB built on one thread and on all, each
// against primesieve on the same bound (by its own clock, which leaves out
// the process start), one row per table: figure,size,ours_s,peer,peer_s
// (size: the table's limit; seconds: the best of the repeats).
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/bench_support.h"
#include "platform/memory.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace {

using bench::Clock;
using bench::cpuSeconds;
using bench::secondsSince;
constexpr uint64_t kBigBlockWords = 16777216;  // 128 MB
constexpr uint64_t kStartWords = 131072;       // 1 MB

// Best and mean of wall and CPU seconds over several runs.
struct Times {
    double bestWall = 1e9, totalWall = 0, bestCpu = 1e9, totalCpu = 0;
    int runs = 0;
    template <typename F>
    void measure(F f) {
        auto start = Clock::now();
        double cpu0 = cpuSeconds();
        f();
        double cpu = cpuSeconds() - cpu0, wall = secondsSince(start);
        totalWall += wall;
        totalCpu += cpu;
        if (wall < bestWall) bestWall = wall;
        if (cpu < bestCpu) bestCpu = cpu;
        ++runs;
    }
};

uint64_t* obtain(uint64_t words) {
    auto* block = static_cast<uint64_t*>(platform::commitBlock(words * 8));
    if (block == nullptr) {
        std::fprintf(stderr, "no memory for a block of %" PRIu64 " words\n", words);
        std::exit(1);
    }
    return block;
}

struct Peer {
    bool ran = false;
    double wallSeconds = 0;
    double ownSeconds = 0;  // what primesieve reports with --time
    double cpuSeconds = 0;
    uint64_t count = 0;
};

// primesieve on one thread, or with its default thread count.
Peer runPrimesieve(uint64_t stop, bool oneThread) {
    Peer peer;
    if (std::system("command -v primesieve >/dev/null 2>&1") != 0) return peer;
    std::string command = std::string("primesieve ") + (oneThread ? "-t1 " : "") + std::to_string(stop) +
                          " --count --time --no-status 2>&1";
    auto start = Clock::now();
    double cpu0 = bench::rusageSeconds(RUSAGE_CHILDREN);
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return peer;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        double seconds;
        unsigned long long count;
        if (std::sscanf(line, "Seconds: %lf", &seconds) == 1) peer.ownSeconds = seconds;
        if (std::sscanf(line, "Primes: %llu", &count) == 1) peer.count = count;
    }
    peer.ran = pclose(pipe) == 0;
    peer.wallSeconds = secondsSince(start);
    peer.cpuSeconds = bench::rusageSeconds(RUSAGE_CHILDREN) - cpu0;
    return peer;
}

void reportPeer(const char* name, const Peer& peer, uint64_t stop, const Times& ours, uint64_t count) {
    if (!peer.ran) {
        std::printf("%s: not found or failed; install it with `apt-get install -y primesieve` to compare\n", name);
        return;
    }
    std::printf("%s %" PRIu64 " --count: %.3f s wall (%.3f s by its own clock, CPU %.3f s), %" PRIu64 " primes (%s)\n",
                name, stop, peer.wallSeconds, peer.ownSeconds, peer.cpuSeconds, peer.count,
                peer.count == count ? "same count" : "DIFFERENT COUNT");
    std::printf("  ratio ours / %s: %.2f (wall), %.2f (its own clock)\n", name, ours.bestWall / peer.wallSeconds,
                ours.bestWall / peer.ownSeconds);
}

// The --csv series: table builds against primesieve by bound.
int csvSeries(int repeats) {
    std::printf("figure,size,ours_s,peer,peer_s\n");
    const unsigned all = primetable::sieveThreads();
    for (uint64_t megabytes : {1, 4, 16, 64, 128}) {
        const uint64_t words = megabytes * table::kWordsPerMegabyte;
        uint64_t* block = obtain(words);
        for (bool oneThread : {true, false}) {
            primetable::setSieveThreadCap(oneThread ? 1 : all);
            Times ours;
            double peer = 1e9;
            for (int i = 0; i < repeats; ++i) {
                ours.measure([&] { _5_prmnew(words, block); });
                Peer run = runPrimesieve(block[table::kLimit] - 1, oneThread);
                if (run.ran && run.ownSeconds < peer) peer = run.ownSeconds;
            }
            std::printf("%s,%" PRIu64 ",%.6g,%s,%.6g\n", oneThread ? "table_build_1_thread" : "table_build",
                        block[table::kLimit], ours.bestWall, oneThread ? "primesieve -t1" : "primesieve", peer);
        }
        platform::releaseBlock(block);
    }
    primetable::setSieveThreadCap(0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--csv") == 0)
        return csvSeries(argc > 2 ? std::max(1, std::atoi(argv[2])) : 3);
    int repeats = argc > 1 ? std::atoi(argv[1]) : 3;
    if (repeats < 1) repeats = 1;
    const unsigned all = primetable::sieveThreads();
    std::printf("threads: 1 and %u (every hardware thread the process may use)\n", all);

    // The 1 MB start table.
    uint64_t* small = obtain(kStartWords);
    Times first;
    first.measure([&] { _5_prmnew(kStartWords, small); });
    std::printf("start table  1 MB (131072 words), first build of the process: %.3f ms\n", first.bestWall * 1e3);
    for (unsigned threads : {1u, all}) {
        primetable::setSieveThreadCap(threads);
        Times start;
        for (int i = 0; i < 100; ++i) start.measure([&] { _5_prmnew(kStartWords, small); });
        std::printf("start table  1 MB, %u thread(s): mean %.3f ms, best %.3f ms over 100 builds (CPU: mean %.3f ms);"
                    " %" PRId64 " primes\n",
                    threads, start.totalWall / 100 * 1e3, start.bestWall * 1e3, start.totalCpu / 100 * 1e3,
                    _5_prmtcnt(small));
    }
    platform::releaseBlock(small);

    // A 128 MB table, on one thread and on all.
    uint64_t* big = obtain(kBigBlockWords);
    Times build[2];
    for (int i = 0; i < repeats; ++i)
        for (int k = 0; k < 2; ++k) {
            primetable::setSieveThreadCap(k == 0 ? 1 : all);
            build[k].measure([&] { _5_prmnew(kBigBlockWords, big); });
        }
    uint64_t limit = big[table::kLimit];
    uint64_t ours = static_cast<uint64_t>(_5_prmtcnt(big));
    for (int k = 0; k < 2; ++k)
        std::printf("_5_prmnew  128 MB (numbers below %" PRIu64 "), %u thread(s): best %.3f s, mean %.3f s over %d"
                    " (CPU: best %.3f s)\n",
                    limit, k == 0 ? 1 : all, build[k].bestWall, build[k].totalWall / repeats, repeats, build[k].bestCpu);
    std::printf("  all threads / one thread: %.2f (wall)\n", build[1].bestWall / build[0].bestWall);
    reportPeer("primesieve -t1", runPrimesieve(limit - 1, true), limit - 1, build[0], ours);
    reportPeer("primesieve", runPrimesieve(limit - 1, false), limit - 1, build[1], ours);

    // A second 128 MB block appended to the table as an extension does.
    uint64_t* next = obtain(kBigBlockWords);
    for (unsigned threads : {1u, all}) {
        primetable::setSieveThreadCap(threads);
        big[big[table::kLastIndex]] = table::kEndOfChain;
        big[table::kLimit] = limit;
        Times append;
        append.measure([&] { _5_prmexpd(kBigBlockWords, next, big); });
        std::printf("appended 128 MB block, %u thread(s): %.3f s (CPU %.3f s); table now %" PRId64
                    " primes below %" PRIu64 "\n",
                    threads, append.bestWall, append.bestCpu, _5_prmtcnt(big), big[table::kLimit]);
    }
    Peer after = runPrimesieve(big[table::kLimit] - 1, false);
    if (after.ran)
        std::printf("prime count after the append: ours %" PRId64 ", primesieve %" PRIu64 " (%s)\n", _5_prmtcnt(big),
                    after.count, static_cast<uint64_t>(_5_prmtcnt(big)) == after.count ? "same" : "DIFFERENT");
    primetable::setSieveThreadCap(0);
    platform::releaseBlock(next);
    platform::releaseBlock(big);
    return 0;
}
