/* The number library's public C interface: every named routine of the modules
 * _0_ to _c_, the prime table and prime queries of _5_ among them, and the
 * call-count profiler. Each routine is declared once, in its module's header,
 * with one line on its arguments and results; this header only gathers them.
 * A C program, or a script through a foreign-function interface, links libq64
 * (static or shared).
 *
 * Conventions: arguments by value; one 64-bit result, or a Q2Value {lo, hi}
 * where a routine has two; -1 (all ones) reports failure or "no result", -9 no
 * room. Word arrays are most significant word first; texts are NUL-ended bytes.
 * Prime-table blocks are word arrays the caller provides (primetable/table.h).
 * Nothing is reentrant: the library keeps its work in static records.
 *
 * Every header listed here is installed with it (the install rule reads this
 * list), so a header included by one of them must be listed here as well.
 */
#pragma once

#include "numlib/q2value.h"

#include "numlib/m0/bitcount.h"
#include "numlib/m0/bitscan.h"
#include "numlib/m0/bytes.h"
#include "numlib/m0/cntdup.h"
#include "numlib/m0/decimal.h"
#include "numlib/m0/moves.h"
#include "numlib/m0/numbers.h"
#include "numlib/m0/pool.h"
#include "numlib/m0/pow10.h"
#include "numlib/m0/scan.h"
#include "numlib/m0/shift.h"
#include "numlib/m0/text.h"
#include "numlib/m0/unnamed.h"
#include "numlib/m0/wordcmp.h"
#include "numlib/m1/words.h"
#include "numlib/m2/scratch.h"
#include "numlib/m3/peta.h"
#include "numlib/m4/peta_digits.h"
#include "numlib/m9/numrec.h"
#include "numlib/ma/align.h"
#include "numlib/ma/alloc.h"
#include "numlib/ma/from_int.h"
#include "numlib/ma/text_in.h"
#include "numlib/ma/text_out.h"
#include "numlib/mb/add_sub.h"
#include "numlib/mb/div.h"
#include "numlib/mb/mul.h"
#include "numlib/mc/compare.h"

#include "primetable/table.h"
#include "primetable/layout.h"
#include "primetable/sieve.h"
#include "primetable/sieve_work.h"
#include "primetable/stats.h"
#include "primetable/extend.h"
#include "primequery/factor_list.h"
#include "primequery/factor_text.h"
#include "primequery/factorise.h"
#include "primequery/next_prime.h"
#include "primequery/nth_prime.h"
#include "primequery/primality.h"

#include "profiler/profiler.h"
