// How much memory a new block may take now: the machine's available memory
// and the room below every memory limit of the process's control groups
// (v1 and v2, the group and all its ancestors), less a safety margin.
//
// Page cache is counted as room: the kernel drops it before it refuses or
// kills, so a table saved a moment ago does not block the next rebuild.
#include "platform/control_groups.h"
#include "platform/memory.h"

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

using cgroup::fileNumber;
using cgroup::kPathBytes;
using cgroup::readText;

// Memory kept free for the process's own needs and the rest of the machine.
constexpr uint64_t kSafetyMarginBytes = uint64_t{512} << 20;
// Limits at or above this are the kernels' ways of writing "no limit".
constexpr uint64_t kNoLimit = uint64_t{1} << 62;

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

// Least room over the group and its ancestors up to the mount point.
uint64_t hierarchyRoom(const cgroup::Hierarchy& h, bool v2) {
    uint64_t room = UINT64_MAX;
    cgroup::forGroupAndAncestors(h, [&](const char* dir) {
        uint64_t r = testing::groupRoom(dir, v2);
        if (r < room) room = r;
    });
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
    static cgroup::Hierarchy v1, v2;
    static bool mountsRead = false;
    if (!mountsRead) {
        mountsRead = true;
        cgroup::findHierarchies("memory", v1, v2);
    }
    uint64_t available = memAvailable();
    uint64_t room = hierarchyRoom(v2, true);
    if (room < available) available = room;
    room = hierarchyRoom(v1, false);
    if (room < available) available = room;
    return available > kSafetyMarginBytes ? available - kSafetyMarginBytes : 0;
}

}  // namespace platform
