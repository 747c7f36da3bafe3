// Counting and listing the primes of an interval, as whole processes: our
// `primes count A B` / `primes list A B` against primesieve on the same
// interval, in interleaved rounds (the order alternating), on one thread and
// on all. Prints the median wall and CPU (user + system) seconds of each and
// their ratio; with --csv the CSV `figure,size,ours_s,peer,peer_s` (wall).
//
//   interval_bench [--csv] [--rounds N] [--quick] [--primes PATH]
//
// --quick takes intervals a tenth as long (a check that it runs).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Runs argv with standard output to `out` (a file path) and standard error
// to /dev/null; exits the bench when the program fails.
Timing runProcess(const std::vector<std::string>& argv, const char* out) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        int fd = open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int null = open("/dev/null", O_WRONLY);
        dup2(fd, 1);
        dup2(null, 2);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Timing t;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    t.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "interval_bench: %s failed\n", argv[0].c_str());
        std::exit(1);
    }
    return t;
}

struct Figure {
    const char* name;
    unsigned long long a, b;
    bool oneThread;
    bool list;
    std::vector<Timing> ours, peer;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string ourProgram() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "primes";
    path[n] = '\0';
    std::string dir(path);
    dir.resize(dir.rfind('/'));
    return dir + "/../console/primes";
}

}  // namespace

int main(int argc, char** argv) {
    bool csv = false, quick = false;
    int rounds = 3;
    std::string primes = ourProgram();
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--csv")) csv = true;
        else if (!std::strcmp(argv[i], "--quick")) quick = true;
        else if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--primes") && i + 1 < argc) primes = argv[++i];
    }
    const unsigned long long k = quick ? 10 : 1;
    std::vector<Figure> figures = {
        {"count_1t", 0, 10000000000ull / k, true, false, {}, {}},
        {"count_all", 0, 10000000000ull / k, false, false, {}, {}},
        {"count_1t", 1000000000000ull, 1000000000000ull + 10000000000ull / k, true, false, {}, {}},
        {"count_1t", 1000000000000000000ull, 1000000000000000000ull + 4000000000ull / k, true, false, {}, {}},
        {"count_all", 1000000000000000000ull, 1000000000000000000ull + 4000000000ull / k, false, false, {}, {}},
        {"list", 0, 1000000000ull / k, false, true, {}, {}},
    };
    const char* out = "/tmp/interval_bench.out";
    for (int round = 0; round < rounds; ++round)
        for (Figure& f : figures) {
            std::vector<std::string> ours = {primes};
            if (f.oneThread) ours.insert(ours.end(), {"--threads", "1"});
            ours.insert(ours.end(), {f.list ? "list" : "count", std::to_string(f.a), std::to_string(f.b)});
            std::vector<std::string> peer = {"primesieve", std::to_string(f.a), std::to_string(f.b), "-q"};
            peer.push_back(f.list ? "-p" : "-c");
            if (f.oneThread) peer.push_back("-t1");
            if (round % 2 == 0) {
                f.ours.push_back(runProcess(ours, out));
                f.peer.push_back(runProcess(peer, out));
            } else {
                f.peer.push_back(runProcess(peer, out));
                f.ours.push_back(runProcess(ours, out));
            }
        }
    std::remove(out);
    if (csv) std::printf("figure,size,ours_s,peer,peer_s\n");
    else std::printf("%-10s %-22s %9s %9s %9s %9s %7s %7s\n", "figure", "interval", "ours", "peer", "ours cpu",
                     "peer cpu", "wall x", "cpu x");
    for (const Figure& f : figures) {
        std::vector<double> ow, pw, oc, pc;
        for (const Timing& t : f.ours) ow.push_back(t.wall), oc.push_back(t.cpu);
        for (const Timing& t : f.peer) pw.push_back(t.wall), pc.push_back(t.cpu);
        double a = median(ow), b = median(pw), c = median(oc), d = median(pc);
        if (csv) {
            std::printf("%s,%llu,%.3f,primesieve,%.3f\n", f.name, f.a != 0 ? f.a : f.b, a, b);
        } else {
            char interval[64];
            std::snprintf(interval, sizeof interval, "%.3g+%.3g", static_cast<double>(f.a),
                          static_cast<double>(f.b - f.a));
            std::printf("%-10s %-22s %8.3fs %8.3fs %8.3fs %8.3fs %7.2f %7.2f\n", f.name, interval, a, b, c, d, a / b,
                        c / d);
        }
    }
    return 0;
}
