// Committed memory blocks for the prime table.
//
// A block is either backed by real memory for its whole size when it is handed
// out, or refused (null): the layer never promises memory the machine cannot
// back at that moment, so a large request fails cleanly instead of the process
// being killed later when the pages are touched. Blocks come back zero-filled.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Obtains a block of `bytes` bytes, readable and writable, zero-filled and
// resident; null when refused. Up to `threads` threads back its pages (the
// system's zero-filling of a large block takes a tenth of a second per
// 128 MB on one core).
void* commitBlock(uint64_t bytes, unsigned threads = 1);

// Returns a block obtained from commitBlock, whole. False when the address is
// not a live block (nothing is then released).
bool releaseBlock(void* block);

// The serial number of the live block at `address` (each block handed out
// gets the next one, from 1), or 0 when no live block starts there: a block
// released and another handed out at the same address differ in it.
uint64_t blockSerial(const void* address);

// Bytes the machine can back for a new block now: the memory available to
// this process less a safety margin for the process and the machine.
uint64_t committableBytes();

// Number and total size of the blocks handed out and not yet returned.
uint64_t liveBlockCount();
uint64_t liveBlockBytes();

namespace testing {
// Refuse every request once `blocks` more blocks have been handed out or once
// a request would take the bytes handed out from now on beyond `bytes`.
// UINT64_MAX for either means no such limit. A whole-program test sets the
// same limits with the environment variables Q64_REFUSE_AFTER_BLOCKS and
// Q64_REFUSE_AFTER_BYTES.
void refuseAfter(uint64_t blocks, uint64_t bytes);
// Lifts the limits set by refuseAfter.
void clearRefusals();
// Room below the memory limit of the control group in directory `dir`
// (its memory.max or memory.limit_in_bytes, usage and memory.stat files),
// counting page cache as free; UINT64_MAX when it has no limit.
uint64_t groupRoom(const char* dir, bool v2);
}  // namespace testing

}  // namespace platform
