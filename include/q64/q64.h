/* The number library's public C interface: every named routine of the modules
 * _0_ to _c_, the prime table and prime questions of _5_ among them, and the
 * call-count profiler. Each routine is declared once, in its module's header,
 * with one line on its arguments and results; this header only gathers them.
 * A C program, or a script through a foreign-function interface, links libq64
 * (static or shared).
 *
 * Conventions: arguments by value; one 64-bit result, or a Q2Value {lo, hi}
 * where a routine has two; -1 (all ones) reports failure or "no result", -9 no
 * room. Word arrays are most significant word first; texts are NUL-ended bytes.
 * Prime-table blocks are word arrays the caller provides (q64/m5_primetable.h).
 * Nothing is reentrant: the library keeps its work in static records.
 *
 * The modules, lowest first (each header uses only those before it):
 *   _0_ utilities, _2_ scratch stacks, _1_ word arrays (whose fast methods
 *   take their work memory from the scratch stacks), _3_ powers of 10^16,
 *   _9_ number records, _4_ peta digits, _a_ allocation and text,
 *   _b_ arithmetic, _c_ comparison; _5_ the prime table and its questions;
 *   and the profiler.
 */
#pragma once

#include "q64/base.h"

#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m1_wordarrays.h"
#include "q64/m3_petapowers.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"
#include "q64/mc_compare.h"

#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"

#include "q64/profiler.h"
