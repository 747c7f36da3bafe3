// Files: whole reads and writes on descriptors, and the steps of replacing a
// file safely (a new file beside it, flushed, renamed over it, the directory
// flushed). Every routine reports failure as its result; none prints.
//
// Names are used as given, relative to the current directory unless they
// start with "/". Tests can make any kind of operation fail on demand
// (testing::failFileOperation, or the environment variable Q64_FAIL_FILE_OPS
// for whole-program tests).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// An open file; -1 means none.
using FileHandle = int;

// Opens an existing file for reading; -1 when it cannot be opened.
FileHandle openForReading(const char* name);

// Size in bytes of an open regular file; -1 when it is not a regular file or
// cannot be examined.
int64_t regularFileSize(FileHandle file);

// Reads exactly `bytes` bytes at the file position; false on an error or when
// the file ends first.
bool readExactly(FileHandle file, void* data, uint64_t bytes);

// Reads exactly `bytes` bytes at `offset` without moving the file position.
bool readExactlyAt(FileHandle file, uint64_t offset, void* data, uint64_t bytes);

// Creates a new, empty file in the directory of `name`, under a name of its
// own written into `tempName` (`tempSize` bytes). -1 when it cannot be created
// or the name does not fit. The name is "<name>.tmp", locked while the file is
// open, unless another running save holds it; a "<name>.tmp" left by a save
// that was killed is removed first, so leftovers do not pile up.
FileHandle createBeside(const char* name, char* tempName, size_t tempSize);

// Writes all `bytes` bytes; false unless every byte was written.
bool writeAll(FileHandle file, const void* data, uint64_t bytes);

// Flushes the file's data to the disk.
bool syncFile(FileHandle file);

// Closes the file; false when the close reports an error (the handle is gone
// either way).
bool closeFile(FileHandle file);

// Renames `from` over `to` in one step.
bool renameFile(const char* from, const char* to);

// Removes a file.
bool removeFile(const char* name);

// Flushes the directory that holds `name`, making a rename there durable.
bool syncDirectoryOf(const char* name);

namespace testing {
enum class FileOp : unsigned {
    Open,
    Read,
    Create,
    Write,
    Sync,
    Close,
    Rename,
    Remove,
    SyncDirectory,
    FullPath,
    Count
};
// Lets `calls` more calls of `op` succeed, then makes every later one fail
// (a Write failure writes nothing of that call; a Close failure still closes).
// The environment variable Q64_FAIL_FILE_OPS sets the same for a whole
// program, e.g. "write:2,rename:0"; names are the operations in lower case,
// "syncdirectory" and "fullpath" for the last two.
void failFileOperation(FileOp op, uint64_t calls);
// Lets every operation succeed again.
void clearFileFailures();
// True when this call of `op` is to fail; the file routines ask it first.
bool injectedFailure(FileOp op);
}  // namespace testing

}  // namespace platform
