// Front-end steps on the table chain of ConsoleState: obtaining and appending
// blocks, freeing the chain, rebuilding it and one extension step.
//
// Blocks come from the platform (committed memory, refused rather than
// overcommitted) and belong to the chain from the moment they are linked
// until freeChain gives them back.
#pragma once

#include "primetable/table_file.h"

#include <cstdint>

#include "primetable/table_words.h"

// Builds the start table, one 1 MB block, as the current table; false (no
// table) when the block is refused.
bool buildStartTable();

// Obtains a block of `words` words and appends it to the current table with
// _5_prmexpd; records it as newestBlock. Null when words is 2^28 (2048 MB) or
// more, when memory is refused, or when _5_prmexpd refuses the size (the block
// is then given back). Needs a table.
TableBlock* appendBlock(uint64_t words);

// Gives every block of the current chain back; a refused release ends the
// walk (the rest is left to the end of the process). tableHead becomes null.
void freeChain();

// Frees the current table and builds one of `megabytes` MB: one block up to
// 128 MB, otherwise 128 MB blocks and a remainder of 6 to 127 MB (1 to 5 MB
// are not built), printing the step line and a "remaining" line before each
// further block. Returns 1 when the table stands; -1 when it failed: then the
// blocks built so far are the table (none when the first was refused) and
// the statistics describe it, without being printed.
int64_t rebuildTable(uint64_t megabytes);

// Opens the table file `name` and checks it (structure and some content) as
// the load does; the current table is untouched. On Checked the reader is
// open for replaceTableFromFile; otherwise it is closed.
enum class TableFileCheck { Missing, NotTable, Checked };
TableFileCheck openTableFile(tablefile::Reader& reader, const char* name);

// Reads the checked file as the new table and closes it. The current table
// stands while the file is read and is given up when memory runs short, once
// the file's checksum is known to hold. Damaged: the file's checksum does not
// hold and the current table stays. Partial: memory was refused, a read
// failed or the file changed, and the blocks read so far are the table.
tablefile::LoadResult replaceTableFromFile(tablefile::Reader& reader);

// One extension step of `megabytes` MB: asks for confirmation above 256 MB,
// prints the step line, and appends the block. Returns 1 when the table was
// extended, -1 when the user declined or it failed (2048 MB or more, no
// memory, 0 MB). Needs a table.
int64_t extendByMegabytes(uint64_t megabytes);
