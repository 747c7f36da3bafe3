#include "tests/console/program_run.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/console/console_test_support.h"

namespace console_test {

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TempDir::TempDir() {
    char templ[] = "/tmp/q64-console-XXXXXX";
    char* made = mkdtemp(templ);
    char resolved[PATH_MAX];
    path = made && realpath(made, resolved) ? resolved : "";
    if (path.empty()) ADD_FAILURE() << "cannot make a temporary directory";
}

// rm walks a tree deeper than the kernel's path length, which a test makes.
TempDir::~TempDir() {
    if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
}

std::string TempDir::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& name : names) out += name + "\n";
    return out;
}

namespace {

// Replaces the 23 characters after each "\nsta " and "\nend " with '#',
// after checking that they have the form YYYY/MM/DD hh:mm:ss.mmm.
std::string maskTimeStamps(const std::string& out) {
    std::string masked = out;
    for (const char* tag : {"\nsta ", "\nend "}) {
        for (size_t at = masked.find(tag); at != std::string::npos; at = masked.find(tag, at + 1)) {
            size_t from = at + 5;
            std::string stamp = masked.substr(from, 23);
            const std::string shape = "dddd/dd/dd dd:dd:dd.ddd";
            bool ok = stamp.size() == shape.size();
            for (size_t i = 0; ok && i < shape.size(); ++i)
                ok = shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(stamp[i])) != 0
                                     : stamp[i] == shape[i];
            EXPECT_TRUE(ok) << "time stamp " << stamp;
            masked.replace(from, stamp.size(), kMaskedStamp.substr(0, stamp.size()));
        }
    }
    return masked;
}

// Enters `dir` one component at a time, so that no single call sees a path
// longer than the kernel takes.
bool enter(const std::string& dir) {
    if (chdir("/") != 0) return false;
    size_t at = 0;
    while (at < dir.size()) {
        size_t next = dir.find('/', at);
        if (next == std::string::npos) next = dir.size();
        std::string part = dir.substr(at, next - at);
        if (!part.empty() && chdir(part.c_str()) != 0) return false;
        at = next + 1;
    }
    return true;
}

}  // namespace

RunResult runProgram(const std::string& dir, const std::string& input, const RunOptions& options) {
    const char* bin = std::getenv("Q64_PRIMES_BIN");
    if (bin == nullptr || *bin == '\0') bin = Q64_PRIMES_BIN_PATH;
    if (bin == nullptr || *bin == '\0') {
        ADD_FAILURE() << "Q64_PRIMES_BIN is not set";
        return {};
    }
    if (dir.empty()) {
        ADD_FAILURE() << "no directory to run in";
        return {};
    }
    char inName[] = "/tmp/q64-run-in-XXXXXX";
    char outName[] = "/tmp/q64-run-out-XXXXXX";
    char errName[] = "/tmp/q64-run-err-XXXXXX";
    int in = mkstemp(inName);
    int out = mkstemp(outName);
    int err = mkstemp(errName);
    std::vector<char*> argv{const_cast<char*>(bin)};
    for (const std::string& arg : options.arguments) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (in < 0 || out < 0 || err < 0 || write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        ADD_FAILURE() << "cannot prepare the run's files";
        return {};
    }
    lseek(in, 0, SEEK_SET);
    pid_t child = fork();
    if (child == 0) {
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (const std::string& assignment : options.environment) putenv(const_cast<char*>(assignment.c_str()));
        if (options.fileSizeLimit != 0) {
            rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (!enter(dir)) _exit(126);
        execv(bin, argv.data());
        _exit(127);
    }
    close(in);
    close(out);
    close(err);
    int raw = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    while (waitpid(child, &raw, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &raw, 0);
            ADD_FAILURE() << "the program did not end";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    RunResult run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = maskTimeStamps(readFile(outName));
    run.err = readFile(errName);
    unlink(inName);
    unlink(outName);
    unlink(errName);
    return run;
}

void expectOutput(const std::string& got, const std::string& wantUtf8) {
    std::string want = cp932(wantUtf8);
    EXPECT_EQ(got, want) << "got:\n" << utf8(got) << "\nwanted:\n" << wantUtf8;
}

void expectOutputHolds(const std::string& got, const std::string& partUtf8) {
    EXPECT_NE(got.find(cp932(partUtf8)), std::string::npos) << "got:\n" << utf8(got) << "\nwithout:\n" << partUtf8;
}

void expectTranscript(const std::string& input, const std::string& wantUtf8, const RunOptions& options) {
    TempDir dir;
    RunResult run = runProgram(dir.path, input, options);
    EXPECT_EQ(run.status, 0) << run.err;
    expectOutput(run.out, wantUtf8);
}

RunResult askOnce(std::vector<std::string> arguments, std::vector<std::string> environment) {
    TempDir dir;
    RunOptions options = withArguments(std::move(arguments));
    options.environment = std::move(environment);
    return runProgram(dir.path, "", options);
}

}  // namespace console_test
