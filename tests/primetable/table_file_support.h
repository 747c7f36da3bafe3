// Shared helpers of the table file tests: temporary directories, chains of
// blocks with valid headers and the bitmap words the check reads, and raw
// file images.
#pragma once

#include <fcntl.h>
#include <gmp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "primetable/table_checksum.h"
#include "primetable/table_words.h"

namespace tftest {

// The number of bit position p, counted from 211 on over the numbers prime to 210.
inline uint64_t numberOfPosition(uint64_t p) {
    std::vector<uint64_t> residues;
    for (uint64_t r = 1; r < 210; ++r)
        if (r % 2 && r % 3 && r % 5 && r % 7) residues.push_back(r);
    return (p / 48 + 1) * 210 + residues[p % 48];
}
inline uint64_t limitOfWords(uint64_t w) { return numberOfPosition(64 * w); }

// Bitmap word k of every correct table, with GMP as the oracle: bit j from
// the top is set when the number of position 64k + j is composite.
inline uint64_t trueWord(uint64_t k) {
    uint64_t word = 0;
    mpz_t n;
    mpz_init(n);
    for (uint64_t j = 0; j < 64; ++j) {
        mpz_set_ui(n, numberOfPosition(64 * k + j));
        if (mpz_probab_prime_p(n, 30) == 0) word |= uint64_t{1} << (63 - j);
    }
    mpz_clear(n);
    return word;
}

// The bitmap words the check reads of a block image whose bitmap of `bitmap`
// words starts at table word `base` (`words`: the image's bitmap): the first
// 64 of the first image and the last of every image.
inline void setCheckedWords(uint64_t* words, uint64_t bitmap, uint64_t base) {
    if (base == 0)
        for (uint64_t k = 0; k < bitmap && k < 64; ++k) words[k] = trueWord(k);
    words[bitmap - 1] = trueWord(base + bitmap - 1);
}

struct TempDir {
    std::string path;
    TempDir() {
        char templ[] = "/tmp/q64-table-file-XXXXXX";
        path = mkdtemp(templ);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string file(const char* name = "prime.dat") const { return path + "/" + name; }
    // Names in the directory, sorted, one per line.
    std::string listing() const {
        std::string out;
        FILE* p = popen(("ls -A '" + path + "'").c_str(), "r");
        char line[512];
        while (fgets(line, sizeof line, p)) out += line;
        pclose(p);
        return out;
    }
};

inline std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
inline void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

// A chain of blocks of the given word counts, obtained from the platform, with
// valid headers and links, and pseudo-random bitmaps but for the words the
// check reads, which are those of a correct table.
struct Chain {
    std::vector<TableBlock*> blocks;
    explicit Chain(const std::vector<uint64_t>& words, uint32_t seed = 1) {
        std::mt19937_64 rng(seed);
        uint64_t base = 0;
        for (uint64_t w : words) {
            auto* b = static_cast<TableBlock*>(platform::commitBlock(w * 8));
            if (!b) return;
            b[0] = w - 1;
            b[1] = base;
            base += w - 4;
            b[2] = limitOfWords(base);
            for (uint64_t i = 3; i < w - 1; ++i) b[i] = rng();
            setCheckedWords(b + 3, w - 4, b[1]);
            b[w - 1] = table::kEndOfChain;
            if (!blocks.empty()) blocks.back()[blocks.back()[0]] = reinterpret_cast<uint64_t>(b);
            blocks.push_back(b);
        }
        blocks.front()[2] = limitOfWords(base);
    }
    ~Chain() {
        for (TableBlock* b : blocks) platform::releaseBlock(b);
    }
    TableBlock* head() const { return blocks.front(); }
    // The file image of the chain.
    std::string bytes() const {
        std::string out;
        for (TableBlock* b : blocks) out.append(reinterpret_cast<const char*>(b), (b[0] + 1) * 8);
        return out;
    }
};

// Word k of a file image, to read or patch.
inline uint64_t wordAt(const std::string& bytes, uint64_t k) {
    uint64_t w = 0;
    for (int i = 7; i >= 0; --i) w = (w << 8) | static_cast<unsigned char>(bytes[8 * k + i]);
    return w;
}
inline void setWord(std::string& bytes, uint64_t k, uint64_t w) {
    for (int i = 0; i < 8; ++i) bytes[8 * k + i] = static_cast<char>(w >> (8 * i));
}

// The file a save writes for these images: the images, then the trailer of
// the tag "PRMSUM64", their length in bytes and their XXH64 hash.
inline std::string sealed(const std::string& images) {
    std::vector<uint64_t> words(images.size() / 8);
    for (size_t k = 0; k < words.size(); ++k) words[k] = wordAt(images, k);
    tablefile::ImageHash hash(images.size());
    hash.feed(words.data(), words.size());
    std::string trailer = std::string("PRMSUM64") + std::string(16, '\0');
    setWord(trailer, 1, images.size());
    setWord(trailer, 2, hash.value());
    return images + trailer;
}

// Makes `name` an empty file of `size` bytes (sparse: it reads as zeros and
// takes no room). False when the file system refuses the size.
inline bool makeSparse(const std::string& name, uint64_t size) {
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = ftruncate(fd, static_cast<off_t>(size)) == 0;
    ::close(fd);
    return ok;
}
// Writes `bytes` at `offset` of the existing file `name`.
inline bool writeAt(const std::string& name, uint64_t offset, const std::string& bytes) {
    int fd = ::open(name.c_str(), O_WRONLY);
    if (fd < 0) return false;
    bool ok = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return ok;
}

// Releases every block of a chain that the loader built.
inline void releaseChain(TableBlock* head) {
    while (head) {
        TableBlock* next = table::nextBlock(head);
        platform::releaseBlock(head);
        head = next;
    }
}

}  // namespace tftest
