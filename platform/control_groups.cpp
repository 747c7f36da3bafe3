#include "platform/control_groups.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace platform::cgroup {

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

namespace {

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

// Finds the mounts of the v2 hierarchy and of the v1 controller.
void findMounts(const char* controller, Hierarchy& v1, Hierarchy& v2) {
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
            if (std::strcmp(fstype, "cgroup") == 0 && hasOption(superOptions, controller)) h = &v1;
            if (h && !h->found) {
                h->found = true;
                std::snprintf(h->mountPoint, kPathBytes, "%s", point);
                std::snprintf(h->mountRoot, kPathBytes, "%s", root);
            }
        }
        line = end ? end + 1 : nullptr;
    }
}

// Reads the process's group paths: "0::path" for v2, "n:...controller...:path" for v1.
void findGroups(const char* controller, Hierarchy& v1, Hierarchy& v2) {
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
            else if (hasOption(controllers, controller))
                std::snprintf(v1.groupPath, kPathBytes, "%s", second + 1);
        }
        line = end ? end + 1 : nullptr;
    }
}

}  // namespace

void findHierarchies(const char* v1Controller, Hierarchy& v1, Hierarchy& v2) {
    findMounts(v1Controller, v1, v2);
    findGroups(v1Controller, v1, v2);
}

bool groupDirectory(const Hierarchy& h, char* dir) {
    if (!h.found) return false;
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
    if (std::snprintf(dir, kPathBytes, "%s%s", h.mountPoint, below) >= static_cast<int>(kPathBytes))
        std::snprintf(dir, kPathBytes, "%s", h.mountPoint);
    if (access(dir, F_OK) != 0) std::snprintf(dir, kPathBytes, "%s", h.mountPoint);
    return true;
}

bool parentDirectory(const Hierarchy& h, char* dir) {
    size_t pointLen = std::strlen(h.mountPoint);
    if (std::strlen(dir) <= pointLen) return false;
    char* slash = std::strrchr(dir, '/');
    if (!slash || static_cast<size_t>(slash - dir) < pointLen) return false;
    *slash = '\0';
    return true;
}

}  // namespace platform::cgroup
