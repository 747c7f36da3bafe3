#include "primetable/table_file.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <thread>

#include "numlib/m0_utilities/prime_test64.h"
#include "platform/memory.h"
#include "platform/worker_threads.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_checksum.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace tablefile {
namespace {

// The file holds the words as they lie in memory.
static_assert(std::endian::native == std::endian::little, "the table file is little-endian");

constexpr uint64_t kWordBytes = 8;
// The trailer after the final image: tag, images' length, checksum.
constexpr uint64_t kTrailerWords = 3;
constexpr uint64_t kTrailerTag = [] {
    const char tag[] = "PRMSUM64";
    uint64_t w = 0;
    for (int i = 7; i >= 0; --i) w = (w << 8) | static_cast<unsigned char>(tag[i]);
    return w;
}();

// Larger files are refused outright, so that word counts times 64 (bit
// positions) cannot overflow.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 56;

// An image of lastIndex n fits in the `room` bytes left in the file.
bool imageFits(uint64_t n, uint64_t room) { return n >= 4 && n < room / kWordBytes; }

// Content. Beyond the checksum of a sealed file, every bit of a correct
// table is the primality of its number, so some words can be checked against
// the truth even in a file without a trailer.

// The first bitmap words are the same in every table: they are compared
// whole with those of a small table sieved here.
constexpr uint64_t kFixedWords = 64;

const uint64_t* fixedWords() {
    static uint64_t block[kFixedWords + 4];
    static bool built = false;
    if (!built) {
        // Uses the sieve's static work record; no query runs during a load.
        _5_prmnew(kFixedWords + 4, block);
        built = true;
    }
    return block + table::kFirstBitmapWord;
}

// Word k of the table's bitmap is `word`: bit by bit from the top, set
// exactly for the composite numbers of positions 64k to 64k + 63.
bool wordIsTrue(uint64_t k, uint64_t word) {
    for (uint64_t j = 0; j < 64; ++j) {
        bool composite = (word >> (63 - j)) & 1;
        if (composite == wordmath::isPrime64(_5_postonum(64 * k + j).lo)) return false;
    }
    return true;
}

// The content checked of an image whose bitmap (`bitmap` words from `words`)
// starts at table word `base`, its last bitmap word being `lastWord`: in the
// first image its leading words (up to kFixedWords), in every image its last
// word. The last word costs 64 primality tests, about 30 us in all near
// 5 * 10^10, while reading a 128 MB image takes some 50 ms even from the
// page cache (measured on the team's 2-core test machine).
bool contentHolds(const uint64_t* words, uint64_t bitmap, uint64_t base, uint64_t lastWord) {
    if (base == 0 && !std::equal(words, words + std::min(bitmap, kFixedWords), fixedWords())) return false;
    return wordIsTrue(base + bitmap - 1, lastWord);
}

// The words of the image at `offset` that the check reads: the header, up to
// `lead` bitmap words after it, the last bitmap word and the link word.
struct Image {
    uint64_t lastIndex, baseWord, limit, lastWord, link;
    uint64_t bitmap[kFixedWords];  // the leading bitmap words read
};

// Two reads: the header with the leading words, and the image's last two
// words. `lead` is at most kFixedWords.
bool readImage(const Reader& r, uint64_t offset, uint64_t lead, Image& image) {
    uint64_t room = r.bytes - offset;
    uint64_t front[3 + kFixedWords];
    uint64_t words = std::min(3 + lead, room / kWordBytes);
    if (words < 3 || !platform::readExactlyAt(r.file, offset, front, words * kWordBytes)) return false;
    image.lastIndex = front[table::kLastIndex];
    image.baseWord = front[table::kBaseWord];
    image.limit = front[table::kLimit];
    std::copy(front + 3, front + words, image.bitmap);
    if (!imageFits(image.lastIndex, room)) return false;
    uint64_t back[2];
    if (!platform::readExactlyAt(r.file, offset + (image.lastIndex - 1) * kWordBytes, back, sizeof back)) return false;
    image.lastWord = back[0];
    image.link = back[1];
    return true;
}

// Ends a partial chain at `last`, whose own limit becomes the table's.
void endChainAt(TableBlock* head, TableBlock* last) {
    last[last[table::kLastIndex]] = table::kEndOfChain;
    head[table::kLimit] = _5_prmtbcap(last[table::kBaseWord] + table::bitmapWords(last));
}

// The `r.bytes - images` bytes after the images are a trailer for them; its
// checksum goes to r.checksum, to be compared as the load reads the images.
bool trailerFits(Reader& r, uint64_t images) {
    uint64_t trailer[kTrailerWords];
    if (r.bytes - images != sizeof trailer || !platform::readExactlyAt(r.file, images, trailer, sizeof trailer) ||
        trailer[0] != kTrailerTag || trailer[1] != images)
        return false;
    r.checksum = trailer[2];
    return true;
}

// The images are read in pieces of 256 KB, each hashed while it is still in
// the cache: the checksum then costs little beside the read itself.
constexpr uint64_t kPieceWords = 32768;

// Reads `words` words at `offset` into `to` piece by piece, calling
// afterPiece(at, n) once words at .. at + n - 1 are in; false when a read fails.
template <class AfterPiece>
bool readPieces(const Reader& r, uint64_t offset, uint64_t* to, uint64_t words, AfterPiece afterPiece) {
    for (uint64_t at = 0; at < words;) {
        uint64_t n = std::min(kPieceWords, words - at);
        if (!platform::readExactlyAt(r.file, offset + at * kWordBytes, to + at, n * kWordBytes)) return false;
        afterPiece(at, n);
        at += n;
    }
    return true;
}

// readPieces feeding each piece to `hash` (when not null) while it is in the cache.
bool readPiecesHashing(const Reader& r, uint64_t offset, uint64_t* to, uint64_t words, ImageHash* hash) {
    return readPieces(r, offset, to, words, [&](uint64_t at, uint64_t n) {
        if (hash) hash->feed(to + at, n);
    });
}

// Reading and hashing side by side: the calling thread reads the pieces and
// a second thread hashes each one as soon as it is in, so that with two
// cores the checksum adds nothing to the time of the read.
struct ReadAndHash {
    const Reader* r;
    uint64_t offset, words;
    uint64_t* to;
    ImageHash* hash;
    std::atomic<uint64_t> wordsIn{0};  // words read so far
    std::atomic<bool> stopped{false};  // the reading ended, done or failed
    bool readOk = false;
};

void readOrHash(unsigned worker, void* context) {
    auto& w = *static_cast<ReadAndHash*>(context);
    if (worker == 0) {
        w.readOk = readPieces(*w.r, w.offset, w.to, w.words, [&](uint64_t at, uint64_t n) {
            w.wordsIn.store(at + n, std::memory_order_release);
        });
        w.stopped.store(true, std::memory_order_release);
        return;
    }
    uint64_t done = 0;
    while (done < w.words) {
        uint64_t in = w.wordsIn.load(std::memory_order_acquire);
        if (in == done) {
            if (w.stopped.load(std::memory_order_acquire) && w.wordsIn.load(std::memory_order_acquire) == done) break;
            std::this_thread::yield();
            continue;
        }
        w.hash->feed(w.to + done, in - done);
        done = in;
    }
}

// readPieces, with the hashing on a second thread when the threads allowed
// for table work are more than one and the words are more than a few pieces.
bool readHashed(const Reader& r, uint64_t offset, uint64_t* to, uint64_t words, ImageHash* hash) {
    if (!hash || words < 4 * kPieceWords || primetable::sieveThreads() < 2)
        return readPiecesHashing(r, offset, to, words, hash);
    ReadAndHash work{&r, offset, words, to, hash};
    if (platform::runOnThreads(2, readOrHash, &work) < 2 && work.readOk) hash->feed(to, words);
    return work.readOk;
}

// Feeds the images from `offset` to their end to `hash` through one static
// piece, without block memory; true when the whole checksum then matches.
bool restMatches(const Reader& r, uint64_t offset, ImageHash& hash) {
    static uint64_t piece[kPieceWords];
    for (uint64_t at = offset; at < r.imageBytes;) {
        uint64_t words = std::min(kPieceWords, (r.imageBytes - at) / kWordBytes);
        if (!readPiecesHashing(r, at, piece, words, &hash)) return false;
        at += words * kWordBytes;
    }
    return hash.value() == r.checksum;
}

void releaseChain(TableBlock* head) {
    while (head) {
        TableBlock* next = table::nextBlock(head);
        platform::releaseBlock(head);
        head = next;
    }
}

}  // namespace

int64_t save(const TableBlock* head, const char* name) {
    static char temp[4096 + 64];
    platform::FileHandle file = platform::createBeside(name, temp, sizeof temp);
    if (file < 0) return -1;
    uint64_t total = 0;
    for (const TableBlock* b = head; b; b = table::nextBlock(b)) total += (b[table::kLastIndex] + 1) * kWordBytes;
    ImageHash hash(total);
    bool ok = true;
    for (const TableBlock* b = head; b && ok; b = table::nextBlock(b)) {
        uint64_t words = b[table::kLastIndex] + 1;
        ok = platform::writeAll(file, b, words * kWordBytes);
        hash.feed(b, words);
    }
    const uint64_t trailer[kTrailerWords] = {kTrailerTag, total, hash.value()};
    ok = ok && platform::writeAll(file, trailer, sizeof trailer);
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
        if (!readImage(r, offset, images == 0 ? kFixedWords : 0, image) || image.baseWord != base) return false;
        uint64_t bitmap = image.lastIndex - 3;
        if (images == 0)
            firstLimit = image.limit;
        else if (image.limit != _5_prmtbcap(base + bitmap))
            return false;
        // The leading words read fill the first image's bitmap or number
        // kFixedWords, since the image lies within the file.
        if (!contentHolds(image.bitmap, bitmap, base, image.lastWord)) return false;
        ++images;
        base += bitmap;
        offset += (image.lastIndex + 1) * kWordBytes;
        bool final = image.link == table::kEndOfChain;
        if (!final && offset == r.bytes) return false;
        if (final) break;
    }
    if (firstLimit != _5_prmtbcap(base)) return false;
    if (offset != r.bytes && !trailerFits(r, offset)) return false;
    r.imageBytes = offset;
    r.sealed = offset != r.bytes;
    r.images = images;
    r.limit = firstLimit;
    return true;
}

LoadResult load(Reader& r, TableBlock** head, TableBlock** newest, void (*makeRoom)()) {
    *head = *newest = nullptr;
    TableBlock* last = nullptr;
    uint64_t offset = 0, base = 0;
    ImageHash hash(r.imageBytes);
    bool hashed = !r.sealed;  // nothing to compare, or compared already
    LoadResult result = LoadResult::Partial;
    // The file was checked, but is read as if it had not been: it may have
    // changed since, and a block that does not fit the chain, or whose checked
    // content is wrong, ends it.
    while (offset < r.imageBytes) {
        uint64_t n = 0;
        if (!platform::readExactlyAt(r.file, offset, &n, kWordBytes) || !imageFits(n, r.imageBytes - offset)) break;
        uint64_t bytes = (n + 1) * kWordBytes;
        auto* block = static_cast<TableBlock*>(platform::commitBlock(bytes, primetable::sieveThreads()));
        if (!block) {
            // Memory is refused: the rest of a sealed file is compared now.
            // Only a file that proves whole is worth the old table.
            if (!hashed) {
                if (!restMatches(r, offset, hash)) {
                    result = LoadResult::Damaged;
                    break;
                }
                hashed = true;
            }
            if (makeRoom) {
                makeRoom();
                makeRoom = nullptr;
                block = static_cast<TableBlock*>(platform::commitBlock(bytes, primetable::sieveThreads()));
            }
            if (!block) break;
        }
        bool final = offset + bytes == r.imageBytes;
        uint64_t limit = last ? _5_prmtbcap(base + n - 3) : r.limit;
        if (!readHashed(r, offset, block, n + 1, hashed ? nullptr : &hash) || block[table::kLastIndex] != n ||
            block[table::kBaseWord] != base || block[table::kLimit] != limit ||
            (block[n] == table::kEndOfChain) != final ||
            !contentHolds(block + table::kFirstBitmapWord, n - 3, base, block[n - 1])) {
            platform::releaseBlock(block);
            break;
        }
        if (last)
            last[last[table::kLastIndex]] = reinterpret_cast<uint64_t>(block);
        else
            *head = block;
        last = block;
        *newest = block;
        if (final) {
            result = hashed || hash.value() == r.checksum ? LoadResult::Complete : LoadResult::Damaged;
            break;
        }
        base += n - 3;
        offset += bytes;
    }
    if (result == LoadResult::Damaged) {
        if (last) last[last[table::kLastIndex]] = table::kEndOfChain;  // still the file's stale link
        releaseChain(*head);
        *head = *newest = nullptr;
    } else if (result == LoadResult::Partial && last) {
        endChainAt(*head, last);
    }
    return result;
}

void close(Reader& r) {
    if (r.file >= 0) platform::closeFile(r.file);
    r.file = -1;
}

}  // namespace tablefile
