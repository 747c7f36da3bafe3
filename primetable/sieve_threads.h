// How many threads a table build (the start table, an extension, a rebuild)
// may sieve with; a table load hashes beside its read only when this is
// two or more. The console sets the cap from `--threads N` or the
// environment variable Q64_THREADS; the default is every hardware thread the
// process may use.
#pragma once

namespace primetable {

// Caps the threads of every later table build; 0 restores the default. A cap
// above the processors the process may use is obeyed (the threads then share
// them); caps above platform::kMaxThreads count as that many.
void setSieveThreadCap(unsigned cap);
// The threads the next table build will use (at least 1).
unsigned sieveThreads();

}  // namespace primetable
