// The text catalogue: the bytes generated at build time (glibc iconv) against
// Python's cp932 codec, an encoder of its own, for every entry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "console/texts_cp932.h"
#include "tests/console/console_test_support.h"

namespace {

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (unsigned char b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

struct PythonCodec {
    std::string cp932;  // hex of the entry's UTF-8 text encoded as CP932
    std::string utf8;   // hex of the entry's CP932 bytes decoded to UTF-8
};

// name -> both directions of each entry, as Python's codecs give them.
std::map<std::string, PythonCodec> encodeWithPython() {
    char path[] = "/tmp/q64_texts_XXXXXX";
    int fd = mkstemp(path);
    close(fd);
    {
        std::ofstream list(path);
        for (const text::CatalogueEntry& e : text::catalogue)
            list << e.name << ' ' << hex(e.utf8) << ' ' << hex(std::string(e.cp932, e.cp932Bytes)) << '\n';
    }
    const std::string script =
        "import sys\n"
        "for line in open(sys.argv[1]):\n"
        "    name, utf8, cp = line.split()\n"
        "    print(name, bytes.fromhex(utf8).decode('utf-8').encode('cp932').hex(),\n"
        "          bytes.fromhex(cp).decode('cp932').encode('utf-8').hex())\n";
    std::string command = "python3 -c \"" + script + "\" " + path;
    std::map<std::string, PythonCodec> result;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char line[4096];
        while (std::fgets(line, sizeof line, p)) {
            std::istringstream in(line);
            std::string name;
            PythonCodec codec;
            in >> name >> codec.cp932 >> codec.utf8;
            result[name] = codec;
        }
        EXPECT_EQ(pclose(p), 0) << "python3 failed";
    }
    std::remove(path);
    return result;
}

// Both encodings of every entry, the CP932 bytes and the UTF-8 text, agree
// with Python's codecs in both directions.
TEST(TextCatalogue, EveryEntryMatchesPythonsCodecs) {
    std::map<std::string, PythonCodec> python = encodeWithPython();
    ASSERT_EQ(python.size(), std::size(text::catalogue));
    for (const text::CatalogueEntry& e : text::catalogue) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(hex(std::string(e.cp932, e.cp932Bytes)), python[e.name].cp932);
        EXPECT_EQ(hex(e.utf8), python[e.name].utf8);
        EXPECT_EQ(std::string(e.cp932).size(), e.cp932Bytes) << "no NUL inside a text";
    }
}

TEST(TextCatalogue, TextsAsTheConsoleShowsThem) {
    // The opening line is 44 bytes; the prompt format is the three bytes \n%s.
    EXPECT_EQ(sizeof text::openingLine - 1, 44u);
    EXPECT_EQ(std::string(text::promptFormat), "\n%s");
    EXPECT_EQ(std::string(text::mainMenu),
              console_test::cp932(
                  "1:素数判定 2:ｎ番目の素数 3:素数検索 4:素因数分解 a:素数テーブル操作 e:終了 ->"));
    // Two blanks before the largest prime, "MB" only in the start-up form.
    EXPECT_EQ(std::string(text::statisticsChanged),
              console_test::cp932(
                  "\n素数テーブルのサイズ = %I64d, 素数の個数 = %I64d  素数の最大値 = %I64d"));
}

}  // namespace
