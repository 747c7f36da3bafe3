/* The prime table as the query headers name it: a TableBlock is one word of
 * a block, a table is reached through its first block. C-compatible. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
#include "primetable/table.h"
#else
typedef uint64_t TableBlock;
#endif
