#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

using testing::FileOp;
using testing::injectedFailure;

constexpr unsigned kOps = static_cast<unsigned>(FileOp::Count);
constexpr const char* kOpNames[kOps] = {"open",  "read",   "create", "write",        "sync",
                                        "close", "rename", "remove", "syncdirectory", "fullpath"};

// Calls of each operation still allowed to succeed; UINT64_MAX means no limit.
uint64_t callsLeft[kOps] = {UINT64_MAX, UINT64_MAX, UINT64_MAX, UINT64_MAX, UINT64_MAX,
                            UINT64_MAX, UINT64_MAX, UINT64_MAX, UINT64_MAX, UINT64_MAX};
bool environmentRead = false;

void readFailuresFromEnvironment() {
    environmentRead = true;
    const char* text = std::getenv("Q64_FAIL_FILE_OPS");
    while (text && *text) {
        const char* colon = std::strchr(text, ':');
        if (!colon) return;
        for (unsigned op = 0; op < kOps; ++op) {
            size_t len = std::strlen(kOpNames[op]);
            if (static_cast<size_t>(colon - text) == len && std::strncmp(text, kOpNames[op], len) == 0)
                callsLeft[op] = std::strtoull(colon + 1, nullptr, 10);
        }
        text = std::strchr(colon, ',');
        if (text) ++text;
    }
}

// Directory part of `name` ("." when it has none) into `dir`.
bool directoryOf(const char* name, char* dir, size_t size) {
    const char* slash = std::strrchr(name, '/');
    if (!slash) return std::snprintf(dir, size, ".") < static_cast<int>(size);
    size_t len = slash == name ? 1 : static_cast<size_t>(slash - name);
    if (len + 1 > size) return false;
    std::memcpy(dir, name, len);
    dir[len] = '\0';
    return true;
}

// Largest transfer per system call (Linux moves at most 0x7FFFF000 bytes).
constexpr uint64_t kChunk = uint64_t{1} << 30;

}  // namespace

FileHandle openForReading(const char* name) {
    if (injectedFailure(FileOp::Open)) return -1;
    int fd;
    do fd = open(name, O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int64_t regularFileSize(FileHandle file) {
    struct stat st {};
    if (fstat(file, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool readExactly(FileHandle file, void* data, uint64_t bytes) {
    if (injectedFailure(FileOp::Read)) return false;
    char* p = static_cast<char*>(data);
    while (bytes > 0) {
        ssize_t n = read(file, p, bytes < kChunk ? bytes : kChunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        bytes -= static_cast<uint64_t>(n);
    }
    return true;
}

bool readExactlyAt(FileHandle file, uint64_t offset, void* data, uint64_t bytes) {
    if (injectedFailure(FileOp::Read)) return false;
    char* p = static_cast<char*>(data);
    while (bytes > 0) {
        if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
        ssize_t n = pread(file, p, bytes < kChunk ? bytes : kChunk, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        offset += static_cast<uint64_t>(n);
        bytes -= static_cast<uint64_t>(n);
    }
    return true;
}

namespace {

// Locks the new file `fd` for as long as it is open; false when another open
// file holds the lock.
bool lockWhileOpen(int fd) {
    int r;
    do r = flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

// The fixed temporary name "<name>.tmp": created new and locked while it is
// written, so that a save killed midway leaves this one file, which the next
// save removes (its lock died with the process) before creating it again.
// -1 when the name is held by a save still running, or cannot be used.
FileHandle createFixed(const char* name, char* tempName, size_t tempSize) {
    int len = std::snprintf(tempName, tempSize, "%s.tmp", name);
    if (len < 0 || static_cast<size_t>(len) >= tempSize) return -1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = open(tempName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (lockWhileOpen(fd)) return fd;
            close(fd);
            return -1;
        }
        if (errno != EEXIST) return -1;
        // A leftover: removed when no running save holds its lock.
        int old = open(tempName, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (old < 0) continue;  // gone meanwhile
        bool stale = lockWhileOpen(old);
        if (stale) unlink(tempName);
        close(old);
        if (!stale) return -1;
    }
    return -1;
}

}  // namespace

FileHandle createBeside(const char* name, char* tempName, size_t tempSize) {
    // A write beyond the file-size limit must fail like any other write,
    // not end the process.
    static bool fileSizeSignalIgnored = false;
    if (!fileSizeSignalIgnored) {
        std::signal(SIGXFSZ, SIG_IGN);
        fileSizeSignalIgnored = true;
    }
    if (injectedFailure(FileOp::Create)) return -1;
    int fixed = createFixed(name, tempName, tempSize);
    if (fixed >= 0) return fixed;
    // Another save is writing the fixed name: a name of this process's own.
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        int len = std::snprintf(tempName, tempSize, "%s.%ld.%u.tmp", name, static_cast<long>(getpid()),
                                counter++);
        if (len < 0 || static_cast<size_t>(len) >= tempSize) return -1;
        int fd = open(tempName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST && errno != EINTR) return -1;
    }
    return -1;
}

bool writeAll(FileHandle file, const void* data, uint64_t bytes) {
    if (injectedFailure(FileOp::Write)) return false;
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
        ssize_t n = write(file, p, bytes < kChunk ? bytes : kChunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        bytes -= static_cast<uint64_t>(n);
    }
    return true;
}

bool syncFile(FileHandle file) {
    if (injectedFailure(FileOp::Sync)) return false;
    return fsync(file) == 0;
}

bool closeFile(FileHandle file) {
    bool injected = injectedFailure(FileOp::Close);
    // A close interrupted by a signal has still released the descriptor on
    // Linux; retrying could close a descriptor opened meanwhile.
    bool closed = close(file) == 0;
    return closed && !injected;
}

bool renameFile(const char* from, const char* to) {
    if (injectedFailure(FileOp::Rename)) return false;
    return rename(from, to) == 0;
}

bool removeFile(const char* name) {
    if (injectedFailure(FileOp::Remove)) return false;
    return unlink(name) == 0;
}

bool syncDirectoryOf(const char* name) {
    if (injectedFailure(FileOp::SyncDirectory)) return false;
    static char dir[4096];
    if (!directoryOf(name, dir, sizeof dir)) return false;
    int fd = open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

namespace testing {
void failFileOperation(FileOp op, uint64_t calls) {
    environmentRead = true;
    callsLeft[static_cast<unsigned>(op)] = calls;
}
bool injectedFailure(FileOp op) {
    if (!environmentRead) readFailuresFromEnvironment();
    uint64_t& left = callsLeft[static_cast<unsigned>(op)];
    if (left == UINT64_MAX) return false;
    if (left == 0) {
        errno = EIO;
        return true;
    }
    --left;
    return false;
}

void clearFileFailures() {
    environmentRead = true;
    for (uint64_t& left : callsLeft) left = UINT64_MAX;
}
}  // namespace testing

}  // namespace platform
