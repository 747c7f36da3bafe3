// How much memory a new block may take now: the machine's available memory
// and the room below every memory limit of the process's control groups
// (v1 and v2, the group and all its ancestors), less a safety margin.
//
// Page cache is counted as room: the kernel drops it before it refuses or
// kills, so a table saved a moment ago does not block the next rebuild.
#include "platform/memory.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

// Memory kept free for the process's own needs and the rest of the machine.
constexpr uint64_t kSafetyMarginBytes = uint64_t{512} << 20;
// Limits at or above this are the kernels' ways of writing "no limit".
constexpr uint64_t kNoLimit = uint64_t{1} << 62;

constexpr size_t kPathBytes = 4096;

// Reads a small text file whole into `text` (NUL-terminated); false when it
// cannot be read.
bool readText(const char* path, char* text, size_t size) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    size_t used = 0;
    while (used + 1 < size) {
        ssize_t n = read(fd, text + used, size - 1 - used);
        if (n < 0) {
            close(fd);
            return false;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    close(fd);
    text[used] = '\0';
    return true;
}

// The number after "key " at the start of a line of `text`; false if absent.
bool statValue(const char* text, const char* key, uint64_t& out) {
    size_t keyLen = std::strlen(key);
    for (const char* line = text; line && *line;) {
        if (std::strncmp(line, key, keyLen) == 0 && (line[keyLen] == ' ' || line[keyLen] == ':')) {
            unsigned long long v = 0;
            const char* p = line + keyLen + 1;
            while (*p == ' ') ++p;
            if (std::sscanf(p, "%llu", &v) != 1) return false;
            out = v;
            return true;
        }
        line = std::strchr(line, '\n');
        if (line) ++line;
    }
    return false;
}

bool fileNumber(const char* dir, const char* name, uint64_t& out) {
    char path[kPathBytes];
    char text[64];
    if (std::snprintf(path, sizeof path, "%s/%s", dir, name) >= static_cast<int>(sizeof path)) return false;
    if (!readText(path, text, sizeof text)) return false;
    if (std::strncmp(text, "max", 3) == 0) {
        out = UINT64_MAX;
        return true;
    }
    unsigned long long v = 0;
    if (std::sscanf(text, "%llu", &v) != 1) return false;
    out = v;
    return true;
}

}  // namespace

uint64_t testing::groupRoom(const char* dir, bool v2) {
    uint64_t limit = 0, usage = 0;
    if (!fileNumber(dir, v2 ? "memory.max" : "memory.limit_in_bytes", limit) || limit >= kNoLimit)
        return UINT64_MAX;
    if (!fileNumber(dir, v2 ? "memory.current" : "memory.usage_in_bytes", usage)) return UINT64_MAX;
    static char stat[16384];
    char path[kPathBytes];
    uint64_t inactive = 0, active = 0;
    if (std::snprintf(path, sizeof path, "%s/memory.stat", dir) < static_cast<int>(sizeof path) &&
        readText(path, stat, sizeof stat)) {
        statValue(stat, v2 ? "inactive_file" : "total_inactive_file", inactive);
        statValue(stat, v2 ? "active_file" : "total_active_file", active);
    }
    uint64_t reclaimable = inactive + active;
    uint64_t used = usage > reclaimable ? usage - reclaimable : 0;
    return limit > used ? limit - used : 0;
}

namespace {

// Where a hierarchy is mounted and which part of it the mount shows.
struct Hierarchy {
    bool found = false;
    char mountPoint[kPathBytes] = {};
    char mountRoot[kPathBytes] = {};
    char groupPath[kPathBytes] = {};  // the process's group, from /proc/self/cgroup
};

bool hasOption(const char* options, const char* name) {
    size_t len = std::strlen(name);
    for (const char* p = options; p; p = std::strchr(p, ',')) {
        if (*p == ',') ++p;
        if (std::strncmp(p, name, len) == 0 && (p[len] == ',' || p[len] == '\0' || p[len] == ' ' ||
                                                p[len] == '\n'))
            return true;
    }
    return false;
}

// Finds the mounts of the v2 hierarchy and of the v1 memory controller.
void findMounts(Hierarchy& v1, Hierarchy& v2) {
    static char text[1 << 16];
    if (!readText("/proc/self/mountinfo", text, sizeof text)) return;
    for (char* line = text; line && *line;) {
        char* end = std::strchr(line, '\n');
        if (end) *end = '\0';
        char root[kPathBytes], point[kPathBytes], fstype[64], superOptions[512];
        const char* dash = std::strstr(line, " - ");
        if (dash && std::sscanf(line, "%*s %*s %*s %4095s %4095s", root, point) == 2 &&
            std::sscanf(dash + 3, "%63s %*s %511s", fstype, superOptions) == 2) {
            Hierarchy* h = nullptr;
            if (std::strcmp(fstype, "cgroup2") == 0) h = &v2;
            if (std::strcmp(fstype, "cgroup") == 0 && hasOption(superOptions, "memory")) h = &v1;
            if (h && !h->found) {
                h->found = true;
                std::snprintf(h->mountPoint, kPathBytes, "%s", point);
                std::snprintf(h->mountRoot, kPathBytes, "%s", root);
            }
        }
        line = end ? end + 1 : nullptr;
    }
}

// Reads the process's group paths: "0::path" for v2, "n:...memory...:path" for v1.
void findGroups(Hierarchy& v1, Hierarchy& v2) {
    char text[8192];
    if (!readText("/proc/self/cgroup", text, sizeof text)) return;
    for (char* line = text; line && *line;) {
        char* end = std::strchr(line, '\n');
        if (end) *end = '\0';
        char* first = std::strchr(line, ':');
        char* second = first ? std::strchr(first + 1, ':') : nullptr;
        if (second) {
            *second = '\0';
            const char* controllers = first + 1;
            if (*controllers == '\0' && std::strncmp(line, "0:", 2) == 0)
                std::snprintf(v2.groupPath, kPathBytes, "%s", second + 1);
            else if (hasOption(controllers, "memory"))
                std::snprintf(v1.groupPath, kPathBytes, "%s", second + 1);
        }
        line = end ? end + 1 : nullptr;
    }
}

// Least room over the group and its ancestors up to the mount point.
uint64_t hierarchyRoom(const Hierarchy& h, bool v2) {
    if (!h.found) return UINT64_MAX;
    // The part of the group path below the mount's root; a path outside the
    // mount's root (another namespace) is read at the mount point itself.
    const char* below = h.groupPath;
    size_t rootLen = std::strlen(h.mountRoot);
    if (std::strcmp(h.mountRoot, "/") != 0) {
        if (std::strncmp(below, h.mountRoot, rootLen) == 0 && (below[rootLen] == '/' || below[rootLen] == '\0'))
            below += rootLen;
        else
            below = "";
    }
    char dir[kPathBytes];
    size_t pointLen = std::strlen(h.mountPoint);
    if (std::snprintf(dir, sizeof dir, "%s%s", h.mountPoint, below) >= static_cast<int>(sizeof dir))
        std::snprintf(dir, sizeof dir, "%s", h.mountPoint);
    if (access(dir, F_OK) != 0) std::snprintf(dir, sizeof dir, "%s", h.mountPoint);
    uint64_t room = UINT64_MAX;
    for (;;) {
        uint64_t r = testing::groupRoom(dir, v2);
        if (r < room) room = r;
        size_t len = std::strlen(dir);
        if (len <= pointLen) break;
        char* slash = std::strrchr(dir, '/');
        if (!slash || static_cast<size_t>(slash - dir) < pointLen) break;
        *slash = '\0';
    }
    return room;
}

uint64_t memAvailable() {
    char text[8192];
    uint64_t kib = 0;
    if (!readText("/proc/meminfo", text, sizeof text) || !statValue(text, "MemAvailable", kib)) return 0;
    return kib * 1024;
}

}  // namespace

uint64_t committableBytes() {
    static Hierarchy v1, v2;
    static bool mountsRead = false;
    if (!mountsRead) {
        mountsRead = true;
        findMounts(v1, v2);
        findGroups(v1, v2);
    }
    uint64_t available = memAvailable();
    uint64_t room = hierarchyRoom(v2, true);
    if (room < available) available = room;
    room = hierarchyRoom(v1, false);
    if (room < available) available = room;
    return available > kSafetyMarginBytes ? available - kSafetyMarginBytes : 0;
}

}  // namespace platform
