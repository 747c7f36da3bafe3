// Where the process's control groups live: the mounts of the v2 hierarchy and
// of one v1 controller, the process's group in each, and the walk from that
// group up through its ancestors (limits of an ancestor bind the group too).
// Small text files are read whole into caller-given buffers (no heap).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::cgroup {

inline constexpr size_t kPathBytes = 4096;

// Reads a small text file whole into `text` (NUL-terminated); false when it
// cannot be read.
bool readText(const char* path, char* text, size_t size);

// The number in file `name` of directory `dir`; "max" reads as UINT64_MAX.
// False when the file cannot be read or holds no number.
bool fileNumber(const char* dir, const char* name, uint64_t& out);

// Where a hierarchy is mounted and which part of it the mount shows.
struct Hierarchy {
    bool found = false;
    char mountPoint[kPathBytes] = {};
    char mountRoot[kPathBytes] = {};
    char groupPath[kPathBytes] = {};  // the process's group, from /proc/self/cgroup
};

// Finds the v2 hierarchy and the v1 hierarchy that holds `v1Controller`
// ("memory", "cpu"), with the process's group in each.
void findHierarchies(const char* v1Controller, Hierarchy& v1, Hierarchy& v2);

// Calls visit(dir) for the process's group of a found hierarchy and then each
// ancestor up to the mount point.
template <typename Visit>
void forGroupAndAncestors(const Hierarchy& h, Visit visit);

// The process's group directory (the mount point when the group path lies
// outside the mount or does not exist); false when the hierarchy was not found.
bool groupDirectory(const Hierarchy& h, char* dir);

// Strips the last component of `dir` while it stays below the mount point;
// false at the mount point.
bool parentDirectory(const Hierarchy& h, char* dir);

template <typename Visit>
void forGroupAndAncestors(const Hierarchy& h, Visit visit) {
    char dir[kPathBytes];
    if (!groupDirectory(h, dir)) return;
    do visit(static_cast<const char*>(dir));
    while (parentDirectory(h, dir));
}

}  // namespace platform::cgroup
