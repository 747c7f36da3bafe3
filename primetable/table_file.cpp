#include "primetable/table_file.h"

#include <bit>

#include "platform/memory.h"
#include "primetable/layout.h"

namespace tablefile {
namespace {

// The file holds the words as they lie in memory.
static_assert(std::endian::native == std::endian::little, "the table file is little-endian");

constexpr uint64_t kWordBytes = 8;
// Larger files are refused outright, so that word counts times 64 (bit
// positions) cannot overflow.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 56;

// An image of lastIndex n fits in the `room` bytes left in the file.
bool imageFits(uint64_t n, uint64_t room) { return n >= 4 && n < room / kWordBytes; }

// The header and link words of the image at `offset`.
struct Image {
    uint64_t lastIndex, baseWord, limit, link;
};

bool readImage(const Reader& r, uint64_t offset, Image& image) {
    uint64_t header[3];
    if (!platform::readExactlyAt(r.file, offset, header, sizeof header)) return false;
    image.lastIndex = header[table::kLastIndex];
    image.baseWord = header[table::kBaseWord];
    image.limit = header[table::kLimit];
    if (!imageFits(image.lastIndex, r.bytes - offset)) return false;
    return platform::readExactlyAt(r.file, offset + image.lastIndex * kWordBytes, &image.link, kWordBytes);
}

// Ends a partial chain at `last`, whose own limit becomes the table's.
void endChainAt(TableBlock* head, TableBlock* last) {
    last[last[table::kLastIndex]] = table::kEndOfChain;
    head[table::kLimit] = _5_prmtbcap(last[table::kBaseWord] + table::bitmapWords(last));
}

}  // namespace

int64_t save(const TableBlock* head, const char* name) {
    static char temp[4096 + 64];
    platform::FileHandle file = platform::createBeside(name, temp, sizeof temp);
    if (file < 0) return -1;
    uint64_t total = 0;
    bool ok = true;
    for (const TableBlock* b = head; b && ok; b = table::nextBlock(b)) {
        uint64_t bytes = (b[table::kLastIndex] + 1) * kWordBytes;
        ok = platform::writeAll(file, b, bytes);
        total += bytes;
    }
    ok = ok && platform::syncFile(file);
    ok = platform::closeFile(file) && ok;
    if (!ok || !platform::renameFile(temp, name)) {
        platform::removeFile(temp);
        return -1;
    }
    // The new file is in place whatever this reports; it only makes the
    // rename survive a crash of the machine.
    platform::syncDirectoryOf(name);
    return static_cast<int64_t>(total);
}

bool open(Reader& r, const char* name) {
    r = Reader{};
    r.file = platform::openForReading(name);
    return r.file >= 0;
}

bool check(Reader& r) {
    int64_t size = platform::regularFileSize(r.file);
    if (size <= 0 || static_cast<uint64_t>(size) > kMaxFileBytes) return false;
    r.bytes = static_cast<uint64_t>(size);
    uint64_t offset = 0, base = 0, images = 0, firstLimit = 0;
    for (;;) {
        Image image{};
        if (!readImage(r, offset, image) || image.baseWord != base) return false;
        uint64_t bitmap = image.lastIndex - 3;
        if (images == 0)
            firstLimit = image.limit;
        else if (image.limit != _5_prmtbcap(base + bitmap))
            return false;
        ++images;
        base += bitmap;
        offset += (image.lastIndex + 1) * kWordBytes;
        bool final = image.link == table::kEndOfChain;
        if (final != (offset == r.bytes)) return false;
        if (final) break;
    }
    if (firstLimit != _5_prmtbcap(base)) return false;
    r.images = images;
    r.limit = firstLimit;
    return true;
}

LoadResult load(Reader& r, TableBlock** head, TableBlock** newest) {
    *head = *newest = nullptr;
    TableBlock* last = nullptr;
    uint64_t offset = 0, base = 0;
    // The file was checked, but is read as if it had not been: it may have
    // changed since, and a block that does not fit the chain ends it.
    while (offset < r.bytes) {
        uint64_t n = 0;
        if (!platform::readExactlyAt(r.file, offset, &n, kWordBytes) || !imageFits(n, r.bytes - offset)) break;
        uint64_t bytes = (n + 1) * kWordBytes;
        auto* block = static_cast<TableBlock*>(platform::commitBlock(bytes));
        if (!block) break;
        bool final = offset + bytes == r.bytes;
        uint64_t limit = last ? _5_prmtbcap(base + n - 3) : r.limit;
        if (!platform::readExactlyAt(r.file, offset, block, bytes) || block[table::kLastIndex] != n ||
            block[table::kBaseWord] != base || block[table::kLimit] != limit ||
            (block[n] == table::kEndOfChain) != final) {
            platform::releaseBlock(block);
            break;
        }
        if (last)
            last[last[table::kLastIndex]] = reinterpret_cast<uint64_t>(block);
        else
            *head = block;
        last = block;
        *newest = block;
        if (final) return LoadResult::Complete;
        base += n - 3;
        offset += bytes;
    }
    if (last) endChainAt(*head, last);
    return LoadResult::Partial;
}

void close(Reader& r) {
    if (r.file >= 0) platform::closeFile(r.file);
    r.file = -1;
}

}  // namespace tablefile
