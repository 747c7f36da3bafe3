// The expected texts that the whole-program transcripts share (UTF-8; the
// program prints their CP932), most of them on the 1 MB start table: largest
// prime 36699233, 2244426 primes, query limit 36699233^2. A text that only
// one test file expects stays in that file.
#pragma once

#include <cstdint>
#include <string>

#include "tests/console/program_run.h"

namespace console_test {

// The statistics lines: "現" (current, before a change) and after a change.
inline std::string current(uint64_t megabytes, uint64_t primes, uint64_t largest) {
    return "\n現素数テーブルのサイズ = " + std::to_string(megabytes) + ", 素数の個数 = " + std::to_string(primes) +
           "  素数の最大値 = " + std::to_string(largest);
}
inline std::string changed(uint64_t megabytes, uint64_t primes, uint64_t largest) {
    return "\n素数テーブルのサイズ = " + std::to_string(megabytes) + ", 素数の個数 = " + std::to_string(primes) +
           "  素数の最大値 = " + std::to_string(largest);
}

// The opening line, the start stamp and the start-up statistics ("MB").
inline std::string opening(uint64_t megabytes, uint64_t primes, uint64_t largest) {
    return "（６４＋α）ビット数値で素数処理を行います!\n\nsta " + kMaskedStamp + "\n素数テーブルのサイズ = " +
           std::to_string(megabytes) + " MB, 素数の個数 = " + std::to_string(primes) +
           "  素数の最大値 = " + std::to_string(largest);
}

inline const std::string kStart = opening(1, 2244426, 36699233);
inline const std::string kStartTable = current(1, 2244426, 36699233);  // the start table's "現" line
inline const std::string kMain = "\n1:素数判定 2:ｎ番目の素数 3:素数検索 4:素因数分解 a:素数テーブル操作 e:終了 ->";
inline const std::string kTableHeader = "\n素数テーブルを操作して、より大きな素数の取扱い、操作性を改善する";
inline const std::string kTable = "\nb:再作成 x:拡張 f:ファイル操作 e:終了 ->";
inline const std::string kTableEntry = kMain + kTableHeader + kTable;  // "a" from the main menu
inline const std::string kEnd = "\nおわり\nend " + kMaskedStamp;     // farewell and end stamp
inline const std::string kConfirm = "\n'y'で続行)->";
inline const std::string kNoTable = "\n素数テーブルがありません";
inline const std::string kSizeTooLarge = "\n指定サイズが大きすぎます、無理です！！！";

// The query dialogs' headings on the start table, and their prompts.
inline std::string primeTestHeading(uint64_t largest) {
    unsigned __int128 square = static_cast<unsigned __int128>(largest) * largest;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(square % 10)));
        square /= 10;
    } while (square != 0);
    return "\n素数判定を行います(" + digits + "を超える素数判定は不可)";
}
inline const std::string kPrimeTestHeading = primeTestHeading(36699233);
inline const std::string kPrimeTestPrompt = "\n判定する数値('e'で終了)->";
inline const std::string kNthPrimeHeading = "\nｎ番目の素数を求める 最大値 ＝ 2244426";
inline const std::string kNthPrimePrompt = "\n番号ｎ('e'で終了)->";
inline const std::string kNextPrimesHeading = "\n指定数値より大きな素数を検索する(1346833702788289 を超える素数は不可)";
inline const std::string kNextPrimesPrompt = "\n指定数値 個数 'e'で終了)->";
inline const std::string kFactoriseHeading = "\n数値を素因数分解する 最大値 = 1346833702788289";
inline const std::string kFactorisePrompt = "\n数値('e'で終了)->";

// The table dialogs: extension, rebuild and file.
inline const std::string kExtendHeading = "\n素数テーブルを拡張します";
inline const std::string kExtendAsk = "\n素数テーブルを拡張するサイズ(単位:ＭＢ)->";
inline const std::string kExtendDone = "\n素数テーブルを拡張しました";
inline std::string extendOpening(const std::string& statistics) { return kExtendHeading + statistics + kExtendAsk; }
inline std::string extendStep(const std::string& megabytes) { return "\n拡張します - " + megabytes + " ＭＢ"; }

inline const std::string kRebuildHeading = "\n素数テーブルを再作成します";
inline const std::string kRebuildAsk = "\n再作成する素数テーブルのサイズ(単位:ＭＢ)->";
inline const std::string kRebuildFailed = "\n素数テーブルを再作成出来ません";
inline std::string rebuildOpening(const std::string& statistics) { return kRebuildHeading + statistics + kRebuildAsk; }
inline std::string rebuildQuestion(const std::string& megabytes) {
    return "\n素数テーブルを " + megabytes + " ＭＢで再作成します、続けますか？" + kConfirm;
}
inline std::string rebuildStep(const std::string& megabytes) { return "\n再作成します - " + megabytes + " ＭＢ"; }

inline const std::string kFileHeading = "\n素数テーブルのファイル操作";
inline const std::string kFileMenu = "\nw:素数テーブルをファイルに出力 r:ファイルから素数テーブルを読込み e:終了 ->";

// Runs `input` in a fresh directory; expects exit status 0 and the start,
// `dialogsUtf8` and the end.
inline void expectOnStartTable(const std::string& input, const std::string& dialogsUtf8,
                               const RunOptions& options = {}) {
    expectTranscript(input, kStart + dialogsUtf8 + kEnd, options);
}

// A run of the table menu: "a", the dialogs' input, "e" for the table menu
// and "e" for the main menu; and its whole transcript.
inline std::string tableMenuInput(const std::string& dialogInput) { return "a\n" + dialogInput + "e\ne\n"; }
inline std::string tableMenuTranscript(const std::string& dialogOutput) {
    return kStart + kTableEntry + dialogOutput + kTable + kMain + kEnd;
}
inline void expectTableDialog(const std::string& dialogInput, const std::string& dialogOutput,
                              const RunOptions& options = {}) {
    expectTranscript(tableMenuInput(dialogInput), tableMenuTranscript(dialogOutput), options);
}

}  // namespace console_test
