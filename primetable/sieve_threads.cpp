#include "primetable/sieve_threads.h"

namespace primetable {

namespace {
unsigned threadCap = 0;
}  // namespace

void setSieveThreadCap(unsigned cap) { threadCap = cap; }

// Table builds sieve on the calling thread alone for now.
unsigned sieveThreads() { return 1; }

}  // namespace primetable
