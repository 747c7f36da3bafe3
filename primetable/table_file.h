// The table file: the chain's blocks in chain order, each written whole as
// lastIndex + 1 little-endian words, then a trailer of three words that seals
// the images: the tag "PRMSUM64" (its eight ASCII bytes), the images' length
// in bytes, and the XXH64 hash (seed 0) of those bytes. A reader that stops at
// the final image (the one whose link word is all ones) never sees the
// trailer; a file without one, written before the trailer existed or by
// another program, loads as it always did.
//
// Saving replaces the file only once a complete copy has been written,
// flushed and closed. Loading checks the whole file's structure, its
// checksum when it has one, and some of its content, before the caller gives
// up its current table, and reads into blocks obtained from the platform.
// Nothing here prints.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "primetable/table_words.h"

namespace tablefile {

// Writes the chain from `head` (not null) and the trailer to a new file
// beside `name`, then renames it over `name`. Returns the bytes of the block
// images (the table's size; the trailer is not counted), or -1 when anything
// failed; `name` is then as it was and the new file is removed.
int64_t save(const TableBlock* head, const char* name);

// An open table file.
struct Reader {
    platform::FileHandle file = -1;
    uint64_t bytes = 0;       // the file's length
    uint64_t imageBytes = 0;  // the images' length (the trailer's offset), once checked
    uint64_t images = 0;      // block images, once checked
    uint64_t limit = 0;       // the table's limit, once checked
    bool sealed = false;      // the images are followed by a trailer, once checked
    uint64_t checksum = 0;    // the trailer's checksum
};

// Opens `name` for reading; false when it cannot be opened.
bool open(Reader& reader, const char* name);

// Checks the structure of the whole file: every image has a lastIndex of at
// least 4 and lies within the file; the images' baseWord values follow each
// other; each image's limit is the one its position gives, the first image
// holding the table's limit; exactly one image, the last, has a link word of
// all ones; the images fill the file exactly, or are followed by exactly a
// trailer with the tag and their length (its checksum is compared as the
// load reads the images). Then, as far as it can without
// reading the bitmaps, the content: the first image's first 64 bitmap words
// (all of them when it has fewer) are those of every table, and the last
// bitmap word of every image holds the primality of its 64 numbers (a
// deterministic test each). True when the file passes. Uses the sieve's
// static work record (no query may be running).
bool check(Reader& reader);

enum class LoadResult {
    Complete,  // every image became a block (and a sealed file's checksum matched)
    Partial,   // memory was refused, a read failed or a block no longer
               // passes the check (the file changed): the blocks read so far
               // form a table of their own (may be none)
    Damaged,   // a sealed file's checksum does not match its images: no table
};

// Reads a checked file into a new chain, checking each block as the check
// did its image, structure and content, and hashing the images as they are
// read; the images of a sealed file must match its checksum. `head` receives
// the first block (null when not even the first block could be read, and
// for a damaged file) and `newest` the last block obtained. A partial chain
// is consistent: its first block's limit is that of its last block, whose
// link word is all ones.
//
// The caller's current table may stand while the file is read. When memory
// for a block is refused, the rest of a sealed file is compared with its
// checksum first (Damaged when it does not match); then `makeRoom`, when not
// null, is called once to give the current table up, and the block is asked
// for again.
LoadResult load(Reader& reader, TableBlock** head, TableBlock** newest, void (*makeRoom)());

// Closes the file.
void close(Reader& reader);

}  // namespace tablefile
