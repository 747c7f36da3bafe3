// Standard input from the fuzz input's bytes, and the console's output
// thrown away, for the harnesses that drive the console in-process.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "console/dialog_io.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {

// Once per process: a directory of its own (workInOwnDirectory), and
// standard output thrown away.
inline void quietConsoleInOwnDirectory() {
    FUZZ_CHECK(std::freopen("/dev/null", "w", stdout) != nullptr);
    workInOwnDirectory();
}

// Makes `size` bytes the console's standard input until destroyed.
class InputFromBytes {
public:
    InputFromBytes(const uint8_t* data, size_t size) : saved_(stdin) {
        copy_ = static_cast<char*>(std::malloc(size ? size : 1));
        if (size) std::memcpy(copy_, data, size);
        file_ = size ? fmemopen(copy_, size, "r") : std::fopen("/dev/null", "r");
        FUZZ_CHECK(file_ != nullptr);
        stdin = file_;
        console_testing::forgetEndOfInput();
    }
    ~InputFromBytes() {
        stdin = saved_;
        std::fclose(file_);
        std::free(copy_);
    }
    InputFromBytes(const InputFromBytes&) = delete;
    InputFromBytes& operator=(const InputFromBytes&) = delete;

private:
    FILE* saved_;
    FILE* file_;
    char* copy_;
};

}  // namespace fuzz
