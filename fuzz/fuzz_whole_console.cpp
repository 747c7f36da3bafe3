// Fuzz target: the whole console, from start-up to shut-down, with the input
// as standard input: every menu and dialog, confirmations, table extension,
// rebuild, save and load, and the end of input anywhere. The first bytes set
// refused memory and failing file operations through the platform's test
// hooks; table memory is always capped at a few megabytes so that a run
// stays small. After every run no table block is left and the working stack
// is empty; a run that hangs is a fault libFuzzer reports (-timeout).
#include <cstdio>

#include "console/lifecycle.h"
#include "console/menu.h"
#include "fuzz/console_input.h"
#include "numlib/m2_scratch/scratch_area.h"
#include "platform/files.h"
#include "platform/memory.h"

namespace {
// The start table is 1 MB; a rebuild or extension fits beside it up to this.
constexpr uint64_t kMegabyte = 1 << 20;
constexpr uint64_t kTableCaps[4] = {2 * kMegabyte, 3 * kMegabyte, 5 * kMegabyte, 9 * kMegabyte};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quietConsoleInOwnDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const uint8_t memory = data[0], files = data[1], cap = data[2];
    // Blocks: refused after 0 to 6 more, or no block limit; bytes: capped.
    platform::testing::refuseAfter((memory & 7) == 7 ? UINT64_MAX : memory & 7, kTableCaps[cap & 3]);
    // One kind of file operation failing after a few calls, or none.
    const unsigned op = files % 16;
    if (op < static_cast<unsigned>(platform::testing::FileOp::Count))
        platform::testing::failFileOperation(static_cast<platform::testing::FileOp>(op), files >> 4);
    std::remove("prime.dat");
    std::remove("prime.dat.tmp");
    const uint64_t used = scratch::area[scratch::kWorkingBounds] & 0xFFFFFFFFu;
    {
        fuzz::InputFromBytes input(data + 3, size - 3);
        startUp();
        mainMenu();
        shutDown();
    }
    FUZZ_CHECK(platform::liveBlockCount() == 0);
    FUZZ_CHECK((scratch::area[scratch::kWorkingBounds] & 0xFFFFFFFFu) == used);
    platform::testing::clearRefusals();
    platform::testing::clearFileFailures();
    return 0;
}
