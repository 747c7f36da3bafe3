#include "platform/fullpath.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace platform {
namespace {

// Most paths fit the fixed buffer; deeper ones get a mapped buffer that
// doubles until the current directory's path fits.
char fixedBuffer[4096 + 256];
char* buffer = fixedBuffer;
size_t bufferSize = sizeof fixedBuffer;

// Paths longer than this are not formed (the kernel itself cannot resolve a
// path of more than 4096 bytes; longer ones exist only below deep chdirs).
constexpr size_t kMaxBuffer = size_t{1} << 26;

bool grow() {
    if (bufferSize >= kMaxBuffer) return false;
    size_t size = bufferSize * 2;
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return false;
    if (buffer != fixedBuffer) munmap(buffer, bufferSize);
    buffer = static_cast<char*>(p);
    bufferSize = size;
    return true;
}

}  // namespace

const char* fullPath(const char* name) {
    if (testing::injectedFailure(testing::FileOp::FullPath)) return nullptr;
    size_t nameLen = std::strlen(name);
    for (;;) {
        if (bufferSize > nameLen + 2 && getcwd(buffer, bufferSize - nameLen - 1) != nullptr) break;
        if (bufferSize > nameLen + 2 && errno != ERANGE) return nullptr;
        if (!grow()) return nullptr;
    }
    size_t len = std::strlen(buffer);
    if (buffer[0] != '/') return nullptr;  // not reachable from the root
    if (len > 1) buffer[len++] = '/';
    std::memcpy(buffer + len, name, nameLen + 1);
    return buffer;
}

}  // namespace platform
