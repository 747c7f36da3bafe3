#include "tests/console/table_dialog_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/console/console_test_support.h"

namespace table_dialog {

const std::string kStart = "（６４＋α）ビット数値で素数処理を行います!\n\nsta " + console_test::kMaskedStamp +
                           "\n素数テーブルのサイズ = 1 MB, 素数の個数 = 2244426  素数の最大値 = 36699233";
const std::string kMain = "\n1:素数判定 2:ｎ番目の素数 3:素数検索 4:素因数分解 a:素数テーブル操作 e:終了 ->";
const std::string kTable = "\nb:再作成 x:拡張 f:ファイル操作 e:終了 ->";
const std::string kTableEntry = kMain + "\n素数テーブルを操作して、より大きな素数の取扱い、操作性を改善する" + kTable;
const std::string kEnd = kMain + "\nおわり\nend " + console_test::kMaskedStamp;
const std::string kConfirm = "\n'y'で続行)->";

std::string current(uint64_t megabytes, uint64_t primes, uint64_t largest) {
    return "\n現素数テーブルのサイズ = " + std::to_string(megabytes) + ", 素数の個数 = " + std::to_string(primes) +
           "  素数の最大値 = " + std::to_string(largest);
}

std::string changed(uint64_t megabytes, uint64_t primes, uint64_t largest) {
    return "\n素数テーブルのサイズ = " + std::to_string(megabytes) + ", 素数の個数 = " + std::to_string(primes) +
           "  素数の最大値 = " + std::to_string(largest);
}

std::string primeTestHeading(uint64_t largest) {
    unsigned __int128 square = static_cast<unsigned __int128>(largest) * largest;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(square % 10)));
        square /= 10;
    } while (square != 0);
    return "\n素数判定を行います(" + digits + "を超える素数判定は不可)";
}

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
    char templ[] = "/tmp/q64-table-dialog-XXXXXX";
    char* made = mkdtemp(templ);
    char resolved[PATH_MAX];
    path = made && realpath(made, resolved) ? resolved : "";
}

TempDir::~TempDir() {
    if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
}

std::string TempDir::listing() const {
    std::string out;
    FILE* p = popen(("ls -A '" + path + "'").c_str(), "r");
    char line[512];
    while (p && fgets(line, sizeof line, p)) out += line;
    if (p) pclose(p);
    return out;
}

namespace {

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

Result run(const std::string& dir, const std::string& input, const Options& options) {
    const char* bin = std::getenv("Q64_PRIMES_BIN");
    if (bin == nullptr || *bin == '\0') bin = Q64_PRIMES_BIN_PATH;
    if (bin == nullptr || *bin == '\0') {
        ADD_FAILURE() << "Q64_PRIMES_BIN is not set";
        return {};
    }
    char inName[] = "/tmp/q64-td-in-XXXXXX";
    char outName[] = "/tmp/q64-td-out-XXXXXX";
    int in = mkstemp(inName);
    int out = mkstemp(outName);
    if (in < 0 || out < 0 || write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        ADD_FAILURE() << "cannot prepare the run's files";
        return {};
    }
    lseek(in, 0, SEEK_SET);
    pid_t child = fork();
    if (child == 0) {
        dup2(in, 0);
        dup2(out, 1);
        for (const std::string& assignment : options.environment) putenv(const_cast<char*>(assignment.c_str()));
        if (options.fileSizeLimit != 0) {
            rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (!enter(dir)) _exit(126);
        execl(bin, bin, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in);
    close(out);
    Result result;
    // A program that hangs is stopped after ten minutes.
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
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = console_test::maskTimeStamps(readFile(outName));
    unlink(inName);
    unlink(outName);
    return result;
}

void expectOutput(const std::string& got, const std::string& wantUtf8) {
    std::string want = console_test::cp932(wantUtf8);
    EXPECT_EQ(got, want) << "got:\n" << console_test::utf8(got) << "\nwanted:\n" << wantUtf8;
}

void expectOutputHolds(const std::string& got, const std::string& partUtf8) {
    EXPECT_NE(got.find(console_test::cp932(partUtf8)), std::string::npos)
        << "got:\n" << console_test::utf8(got) << "\nwithout:\n" << partUtf8;
}

}  // namespace table_dialog
