// Rebuild, save and load of a large prime table, against primesieve.
//
//   rebuild_bench [megabytes=1280] [directory=.] [rounds=3]
//
// Runs the console's rebuild step (a first block of 128 MB, further 128 MB
// blocks, then the remainder of 6 to 127 MB, with its progress lines in CP932
// on standard output) on one thread (--threads 1) and on every hardware
// thread, each followed by `primesieve <limit - 1> -t1` or `primesieve
// <limit - 1>` (its default thread count) counting the primes below the same
// limit, `rounds` times in turn, and reports the medians and their ratios (on
// a shared machine single runs vary by a tenth or more). It checks that all
// count the same primes, reports the peak resident memory against the
// table's size, then saves the table to <directory>/prime.dat and loads it
// back, reporting MB/s (the save includes flushing to the disk; the load
// reads a file the save has just left in the page cache; the load's time
// includes counting the prime-count index), and what verifying the file's
// checksum adds to the load.
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "console/console_state.h"
#include "console/output.h"
#include "console/table_chain.h"
#include "primetable/prime_index.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_file.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace {

using bench::Clock;
using bench::rusageSeconds;
using bench::secondsSince;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Peak resident set of the process so far, in bytes.
uint64_t peakResidentBytes() {
    FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    uint64_t kib = 0;
    while (f && std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %" SCNu64 " kB", &kib) == 1) break;
    if (f) std::fclose(f);
    return kib * 1024;
}

struct Peer {
    double seconds = -1;
    double cpu = 0;
    uint64_t primes = 0;
};

// primesieve counting the primes up to limit - 1 on one thread or with its
// default thread count, wall time.
Peer primesieve(uint64_t limit, bool oneThread) {
    char command[128];
    std::snprintf(command, sizeof command, "primesieve %" PRIu64 "%s -q 2>&1", limit - 1, oneThread ? " -t1" : "");
    Peer peer;
    auto start = Clock::now();
    double cpuBefore = rusageSeconds(RUSAGE_CHILDREN);
    FILE* p = popen(command, "r");
    if (!p) return peer;
    char line[256];
    while (std::fgets(line, sizeof line, p)) {
        uint64_t n = 0;
        if (std::sscanf(line, "%" SCNu64, &n) == 1 && std::strchr(line, ':') == nullptr) peer.primes = n;
    }
    if (pclose(p) == 0) peer.seconds = secondsSince(start);
    peer.cpu = rusageSeconds(RUSAGE_CHILDREN) - cpuBefore;
    return peer;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t m = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1280;
    std::string dir = argc > 2 ? argv[2] : ".";
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    std::string file = dir + "/prime.dat";
    if (m == 0 || rounds < 1) return 1;
    double oneThread = 0;

    const unsigned all = primetable::sieveThreads();
    TableBlock* head = nullptr;
    int64_t count = 0;
    uint64_t tableBytes = 0;
    for (unsigned threads : {1u, all}) {
        primetable::setSieveThreadCap(threads);
        const char* name = threads == 1 ? "primesieve -t1" : "primesieve";
        std::vector<double> ours, oursCpu, theirs, theirsCpu, ratios;
        for (int round = 0; round < rounds; ++round) {
            std::printf("rebuild of %" PRIu64 " MB on %u thread(s), round %d of %d\n", m, threads, round + 1, rounds);
            std::fflush(stdout);
            auto start = Clock::now();
            double cpuBefore = rusageSeconds(RUSAGE_SELF);
            int64_t built = rebuildTable(m);
            ours.push_back(secondsSince(start));
            oursCpu.push_back(rusageSeconds(RUSAGE_SELF) - cpuBefore);
            flushOutput();
            std::printf("\n");
            head = console.tableHead;
            if (built != 1 || head == nullptr) {
                std::printf("rebuild failed\n");
                return 1;
            }
            uint64_t peak = peakResidentBytes();
            tableBytes = 8 * static_cast<uint64_t>(_5_prmtqsize(head));
            uint64_t limit = head[table::kLimit];
            count = _5_prmtcnt(head);
            std::printf("rebuild, %u thread(s): %.3f s (cpu %.3f s), limit %" PRIu64 ", %" PRId64
                        " primes, largest %" PRIu64 "\n",
                        threads, ours.back(), oursCpu.back(), limit, count, _5_prmtmax(head).lo);
            std::printf("peak resident so far: %.1f MB for a table of %.1f MB (%+.2f %%)\n", peak / 1048576.0,
                        tableBytes / 1048576.0, 100.0 * (static_cast<double>(peak) / tableBytes - 1));
            Peer peer = primesieve(limit, threads == 1);
            if (peer.seconds < 0) {
                std::printf("%s: not run (apt-get install -y primesieve)\n", name);
                continue;
            }
            std::printf("%s: %.3f s (cpu %.3f s), %" PRIu64 " primes%s\n", name, peer.seconds, peer.cpu, peer.primes,
                        peer.primes == static_cast<uint64_t>(count) ? "" : "  COUNTS DIFFER");
            theirs.push_back(peer.seconds);
            theirsCpu.push_back(peer.cpu);
            ratios.push_back(ours.back() / peer.seconds);
        }
        std::printf("rebuild, %u thread(s): median %.3f s (cpu %.3f s) of %d\n", threads, median(ours),
                    median(oursCpu), rounds);
        if (!theirs.empty()) {
            std::printf("%s: median %.3f s (cpu %.3f s); rebuild / %s: %.2f (cpu %.2f), per round:", name,
                        median(theirs), median(theirsCpu), name, median(ours) / median(theirs),
                        median(oursCpu) / median(theirsCpu));
            for (double r : ratios) std::printf(" %.2f", r);
            std::printf("\n");
        }
        if (threads == 1) oneThread = median(ours);
        else std::printf("rebuild on %u threads / on 1: %.2f\n", threads, median(ours) / oneThread);
    }
    primetable::setSieveThreadCap(0);

    auto start = Clock::now();
    int64_t out = tablefile::save(head, file.c_str());
    double saveSeconds = secondsSince(start);
    std::printf("save: %" PRId64 " bytes in %.3f s, %.0f MB/s\n", out, saveSeconds,
                out / 1048576.0 / saveSeconds);
    freeChain();

    // Loads of the sealed file and of the same images without their trailer
    // (as a file written before the trailer existed), alternating, nine each:
    // the medians show what verifying the checksum adds.
    std::string unsealed = file + ".unsealed";
    {
        std::string copy = "cp '" + file + "' '" + unsealed + "' && truncate -s " + std::to_string(out) + " '" +
                           unsealed + "'";
        if (std::system(copy.c_str()) != 0) unsealed.clear();
    }
    bool ok = true;
    std::vector<double> sealedTimes, unsealedTimes, sealedCpu, unsealedCpu;
    for (int round = 0; round < 9 && ok; ++round) {
        for (const std::string& name : {file, unsealed}) {
            if (name.empty()) continue;
            start = Clock::now();
            const double cpu = bench::cpuSeconds();
            tablefile::Reader reader;
            TableBlock* loaded = nullptr;
            TableBlock* newest = nullptr;
            ok = ok && tablefile::open(reader, name.c_str()) && tablefile::check(reader) &&
                 tablefile::load(reader, &loaded, &newest, nullptr) == tablefile::LoadResult::Complete &&
                 reader.sealed == (name == file);
            tablefile::close(reader);
            if (ok) primeindex::build(loaded);
            (name == file ? sealedTimes : unsealedTimes).push_back(secondsSince(start));
            (name == file ? sealedCpu : unsealedCpu).push_back(bench::cpuSeconds() - cpu);
            if (ok && _5_prmtcnt(loaded) != count) std::printf("loaded table counts differ\n");
            console.tableHead = loaded;
            freeChain();
        }
    }
    double loadSeconds = median(sealedTimes);
    std::printf("load: %s in %.3f s, %.0f MB/s (median of %zu)\n", ok ? "complete" : "FAILED", loadSeconds,
                tableBytes / 1048576.0 / loadSeconds, sealedTimes.size());
    if (!unsealedTimes.empty()) {
        double plain = median(unsealedTimes);
        std::printf("load without the trailer: %.3f s; the checksum adds %+.1f %% (cpu %.3f s against %.3f s: %+.1f %%)\n",
                    plain, 100.0 * (loadSeconds / plain - 1), median(sealedCpu), median(unsealedCpu),
                    100.0 * (median(sealedCpu) / median(unsealedCpu) - 1));
        std::remove(unsealed.c_str());
    }
    std::remove(file.c_str());
    return ok ? 0 : 1;
}
