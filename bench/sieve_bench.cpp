// The sieve against primesieve, single-threaded, on the same range.
//
//   cmake -S . -B build/bench -DQ64_BENCH=ON -DQ64_TESTS=OFF
//   cmake --build build/bench --target sieve_bench
//   build/bench/bench/sieve_bench [repeats=3]
//
// Times _5_prmnew on a 128 MB block (16777216 words, the numbers below
// 4,697,619,571) and `primesieve -t1 <limit - 1> --count` as a subprocess,
// prints both times and their ratio (wall clock, and CPU time, which varies
// less on a busy machine), and checks that both count the same primes. Also
// times the 1 MB start table (the first build of the process, which computes
// the pre-sieve patterns, and the mean of 100 builds) and the sieving of a
// 128 MB block appended to the 128 MB table (the passes an extension or a
// rebuild runs), whose prime count is checked against primesieve too.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/bench_support.h"
#include "platform/memory.h"
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

Peer runPrimesieve(uint64_t stop) {
    Peer peer;
    if (std::system("command -v primesieve >/dev/null 2>&1") != 0) return peer;
    std::string command = "primesieve -t1 " + std::to_string(stop) + " --count --time --no-status 2>&1";
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

}  // namespace

int main(int argc, char** argv) {
    int repeats = argc > 1 ? std::atoi(argv[1]) : 3;
    if (repeats < 1) repeats = 1;

    // The 1 MB start table.
    uint64_t* small = obtain(kStartWords);
    Times first;
    first.measure([&] { _5_prmnew(kStartWords, small); });
    std::printf("start table  1 MB (131072 words), first build of the process: %.3f ms\n", first.bestWall * 1e3);
    Times start;
    for (int i = 0; i < 100; ++i) start.measure([&] { _5_prmnew(kStartWords, small); });
    std::printf("start table  1 MB (131072 words): mean %.3f ms, best %.3f ms over 100 builds (CPU: mean %.3f ms);"
                " %" PRId64 " primes\n",
                start.totalWall / 100 * 1e3, start.bestWall * 1e3, start.totalCpu / 100 * 1e3, _5_prmtcnt(small));
    platform::releaseBlock(small);

    // A 128 MB table.
    uint64_t* big = obtain(kBigBlockWords);
    Times build;
    for (int i = 0; i < repeats; ++i) build.measure([&] { _5_prmnew(kBigBlockWords, big); });
    uint64_t limit = big[table::kLimit];
    uint64_t ours = static_cast<uint64_t>(_5_prmtcnt(big));
    std::printf("_5_prmnew  128 MB (16777216 words, numbers below %" PRIu64
                "): best %.3f s, mean %.3f s over %d (CPU: best %.3f s)\n",
                limit, build.bestWall, build.totalWall / repeats, repeats, build.bestCpu);

    Peer peer = runPrimesieve(limit - 1);
    if (!peer.ran) {
        std::printf("primesieve: not found or failed; install it with `apt-get install -y primesieve` to compare\n");
    } else {
        std::printf("primesieve -t1 %" PRIu64 " --count: %.3f s wall (%.3f s by its own clock, CPU %.3f s)\n",
                    limit - 1, peer.wallSeconds, peer.ownSeconds, peer.cpuSeconds);
        std::printf("ratio ours / primesieve: %.2f (wall), %.2f (its own clock), %.2f (CPU)\n",
                    build.bestWall / peer.wallSeconds, build.bestWall / peer.ownSeconds,
                    build.bestCpu / peer.cpuSeconds);
        std::printf("prime count: ours %" PRIu64 ", primesieve %" PRIu64 " (%s)\n", ours, peer.count,
                    ours == peer.count ? "same" : "DIFFERENT");
    }

    // A second 128 MB block appended to the table and sieved as an extension does.
    uint64_t* next = obtain(kBigBlockWords);
    big[big[table::kLastIndex]] = reinterpret_cast<uint64_t>(next);
    Times init, smallPass, chainPass;
    init.measure([&] { _5_prminit(kBigBlockWords - 1, next, table::bitmapWords(big)); });
    sieveWork.head = big;
    sieveWork.target = next;
    smallPass.measure([&] { _5_setflg0(); });
    chainPass.measure([&] { _5_setflg2(); });
    double appendWall = init.bestWall + smallPass.bestWall + chainPass.bestWall;
    double appendCpu = init.bestCpu + smallPass.bestCpu + chainPass.bestCpu;
    big[table::kLimit] = next[table::kLimit];
    std::printf("appended 128 MB block: %.3f s (CPU %.3f s): _5_prminit %.3f s, _5_setflg0 %.3f s, _5_setflg2 %.3f s;"
                " table now %" PRId64 " primes below %" PRIu64 "\n",
                appendWall, appendCpu, init.bestWall, smallPass.bestWall, chainPass.bestWall, _5_prmtcnt(big),
                big[table::kLimit]);
    Peer after = runPrimesieve(big[table::kLimit] - 1);
    if (after.ran)
        std::printf("prime count after the append: ours %" PRId64 ", primesieve %" PRIu64 " (%s)\n", _5_prmtcnt(big),
                    after.count, static_cast<uint64_t>(_5_prmtcnt(big)) == after.count ? "same" : "DIFFERENT");
    platform::releaseBlock(next);
    platform::releaseBlock(big);
    return 0;
}
