// Crash consistency of prime.dat: saves of a two-block table are killed with
// SIGKILL at moments spread over the whole save (from the message that starts
// it to a little after the time a save takes). Afterwards prime.dat is
// exactly the old file or the new one (the same bytes but for the memory
// addresses in link words and the checksum over them), never anything else,
// and the next run loads it; a temporary file a kill leaves behind is gone
// after the next save.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "tests/console/console_test_support.h"
#include "tests/console/program_run.h"

namespace {

using namespace console_test;
using Clock = std::chrono::steady_clock;

// The optimised build makes the fifty kills in seconds. Under the sanitizers
// every run sieves some 30 times slower; the protocol is the same, so a few
// kills keep its code under their eyes.
constexpr int kKills = kSanitized ? 8 : 50;
constexpr uint64_t kSeed = 0xC0A5;

// The console with `input` on standard input, run in `dir`, its standard
// output on a pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;
    std::string seen;

    Child(const std::string& dir, const std::string& input) {
        char inName[] = "/tmp/q64-crash-in-XXXXXX";
        const int in = mkstemp(inName);
        int pipeFds[2];
        if (in < 0 || pipe(pipeFds) != 0 || write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
            ADD_FAILURE() << "cannot prepare the run";
            return;
        }
        unlink(inName);
        lseek(in, 0, SEEK_SET);
        pid = fork();
        if (pid == 0) {
            dup2(in, 0);
            dup2(pipeFds[1], 1);
            close(pipeFds[0]);
            if (chdir(dir.c_str()) != 0) _exit(126);
            execl(Q64_PRIMES_BIN_PATH, Q64_PRIMES_BIN_PATH, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in);
        close(pipeFds[1]);
        out = pipeFds[0];
    }
    // Reads standard output until it holds `marker`; false at its end.
    bool waitFor(const std::string& marker) {
        char buf[4096];
        while (seen.find(marker) == std::string::npos) {
            pollfd p{out, POLLIN, 0};
            if (poll(&p, 1, 60000) <= 0) return false;
            const ssize_t n = read(out, buf, sizeof buf);
            if (n <= 0) return false;
            seen.append(buf, static_cast<size_t>(n));
        }
        return true;
    }
    // Kills the program (when it still runs) and reaps it.
    void kill() {
        ::kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        close(out);
    }
};

// The table's size in megabytes from the statistics line a run prints when
// it has loaded prime.dat, or what it printed instead.
std::string loadedSize(const std::string& out) {
    const std::string tag = cp932("\n現素数テーブルのサイズ = ");
    const size_t at = out.find(tag);
    if (at == std::string::npos) return "no table: " + utf8(out);
    return out.substr(at + tag.size(), out.find(',', at) - at - tag.size());
}

// The files are the same but for the words that hold memory addresses: the
// link word of the first image (word 131071) and the checksum that covers it
// (the trailer's last word).
bool sameButLinks(const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.size() < 24) return false;
    const size_t link = 8 * 131071, sum = a.size() - 8;
    return a.compare(0, link, b, 0, link) == 0 && a.compare(link + 8, sum - link - 8, b, link + 8, sum - link - 8) == 0;
}

// Each run loads prime.dat (the old file: the start table), which checks
// what the kill before left, then extends the table by one block and saves
// it: the new file.
TEST(TableFileCrash, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    const std::string loadAndSave = "a\nf\nr\nx\n1\nf\nw\n";
    const std::string started = cp932("に素数テーブルを出力します");
    const std::string done = "out = ";
    TempDir dir;
    ASSERT_EQ(runProgram(dir.path, "a\nf\nw\n").status, 0);
    const std::string old = readFile(dir.file());
    // The new file, and how long its save takes from its first message.
    Child calibration(dir.path, loadAndSave);
    ASSERT_TRUE(calibration.waitFor(started));
    const auto start = Clock::now();
    ASSERT_TRUE(calibration.waitFor(done));
    const auto saveTime = Clock::now() - start;
    calibration.kill();
    ASSERT_EQ(loadedSize(calibration.seen), "1");
    const std::string fresh = readFile(dir.file());
    ASSERT_EQ(loadedSize(runProgram(dir.path, "a\nf\nr\n").out), "2");
    writeFile(dir.file(), old);

    std::mt19937_64 rng(kSeed);
    const auto window = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 13 / 10).count() + 1;
    int olds = 0, news = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const auto delay = std::chrono::microseconds(rng() % window);
        SCOPED_TRACE(testing::Message() << "kill " << kill << " after " << delay.count() << " us of " << window
                                        << " (seed " << kSeed << ")");
        Child child(dir.path, loadAndSave);
        ASSERT_TRUE(child.waitFor(started));
        std::this_thread::sleep_for(delay);
        child.kill();
        ASSERT_EQ(loadedSize(child.seen), "1");  // what the kill before left loads
        const std::string now = readFile(dir.file());
        if (now == old) {
            ++olds;
            continue;
        }
        ASSERT_TRUE(sameButLinks(now, fresh)) << "prime.dat is neither the old file nor the new one";
        ++news;
        ASSERT_EQ(loadedSize(runProgram(dir.path, "a\nf\nr\n").out), "2");
        writeFile(dir.file(), old);
    }
    std::printf("%d kills: %d left the old file, %d the new one\n", kKills, olds, news);
    // The last kill's file loads, and a temporary file left by a kill does
    // not outlive the next complete save.
    RunResult last = runProgram(dir.path, loadAndSave);
    EXPECT_EQ(loadedSize(last.out), "1");
    EXPECT_EQ(dir.listing(), "prime.dat\n");
}

}  // namespace
