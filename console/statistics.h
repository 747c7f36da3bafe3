// The table statistics of ConsoleState and the line that shows them.
#pragma once

// Recomputes, in this order, primeMax, primeCount, tableQwords and then the
// query limit from the current table; without a table all four are 0.
void refreshStatistics();

// queryLimit = primeMax squared, as a two-word value (through _1_mul in a
// 6-word scratch block; without the block it stays equal to primeMax).
void updateQueryLimit();

// The three forms of the statistics line: size, prime count, largest prime.
enum class StatisticsLine {
    AtStart,  // "... = %I64d MB, ...": at start-up
    Current,  // "\n現素数テーブル...": before an extension or a rebuild, after a load
    Changed,  // after a successful extension or rebuild
};
void printStatistics(StatisticsLine form);
