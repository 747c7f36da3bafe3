// The checksum trailer of the table file: the hash is XXH64 as other tools
// compute it, a saved file is its images (what a reader stopping at the final
// image sees) and the trailer, damage anywhere in a sealed file is refused,
// the current table is given up for a file only once its checksum is known
// to hold, and a leftover temporary file does not outlive the next save.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <random>

#include "platform/worker_threads.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_checksum.h"
#include "primetable/table_file.h"
#include "tests/primetable/table_file_support.h"

namespace {

using tftest::Chain;

// Word i of the hashed pattern; the expected values are those of
// `xxhsum -H1` over the same bytes.
std::vector<uint64_t> pattern(size_t n) {
    std::vector<uint64_t> w(n);
    for (size_t i = 0; i < n; ++i) w[i] = i * 0x9E3779B97F4A7C15u + 7;
    return w;
}

TEST(TableFileTrailer, TheHashIsXxh64FedInAnyPieces) {
    const std::pair<size_t, uint64_t> known[] = {
        {0, 0xef46db3751d8e999}, {1, 0x0876cd406afde455}, {3, 0x2a24b2cf48187401}, {4, 0x1975a18dd4135bdb},
        {5, 0x4c1902934bdfad2a}, {7, 0xf9aaa810ac77ae34}, {8, 0x5e2804e43142862b}, {131, 0x25bdad3c22f60417}};
    std::mt19937_64 rng(41);
    for (const auto& [n, want] : known) {
        const std::vector<uint64_t> w = pattern(n);
        for (int split = 0; split < 20; ++split) {
            SCOPED_TRACE(testing::Message() << n << " words, split " << split << " (seed 41)");
            tablefile::ImageHash hash(8 * n);
            for (size_t at = 0; at < n;) {
                size_t piece = split == 0 ? n : std::min<size_t>(n - at, rng() % 9);
                hash.feed(w.data() + at, piece);
                at += piece;
            }
            EXPECT_EQ(hash.value(), want);
        }
    }
}

class TableFileSealed : public ::testing::Test {
protected:
    void TearDown() override {
        platform::testing::clearFileFailures();
        platform::testing::clearRefusals();
    }
    // The file passes the check and loads whole.
    bool passes(const std::string& bytes) {
        tftest::writeFile(dir.file(), bytes);
        tablefile::Reader r;
        EXPECT_TRUE(tablefile::open(r, dir.file().c_str()));
        TableBlock *head = nullptr, *newest = nullptr;
        const bool ok = tablefile::check(r) && tablefile::load(r, &head, &newest, nullptr) == tablefile::LoadResult::Complete;
        tablefile::close(r);
        tftest::releaseChain(head);
        return ok;
    }
    tftest::TempDir dir;
};

// One bit flipped in any word of the file (headers, bitmaps, links, trailer)
// is refused; without the trailer most flips inside a bitmap are not.
TEST_F(TableFileSealed, EveryFlippedBitIsRefused) {
    Chain chain({200, 60, 80}, 5);
    ASSERT_GT(tablefile::save(chain.head(), dir.file().c_str()), 0);
    const std::string good = tftest::readFile(dir.file());
    const std::string images = chain.bytes();
    ASSERT_EQ(good, tftest::sealed(images));
    // A reader that follows lastIndex to the final image stops at the trailer.
    uint64_t at = 0;
    while (tftest::wordAt(good, at + tftest::wordAt(good, at)) != table::kEndOfChain) at += tftest::wordAt(good, at) + 1;
    EXPECT_EQ(8 * (at + tftest::wordAt(good, at) + 1), images.size());
    ASSERT_TRUE(passes(good));
    std::mt19937_64 rng(17);
    int unsealedPasses = 0;
    for (uint64_t k = 0; k < good.size() / 8; ++k) {
        SCOPED_TRACE(testing::Message() << "word " << k << " (seed 17)");
        std::string bad = good;
        const uint64_t bit = uint64_t{1} << (rng() % 64);
        tftest::setWord(bad, k, tftest::wordAt(bad, k) ^ bit);
        EXPECT_FALSE(passes(bad));
        if (8 * k < images.size()) unsealedPasses += passes(bad.substr(0, images.size()));
    }
    EXPECT_GT(unsealedPasses, 200);  // the hole the trailer closes: 261 bitmap words are not read by the check
}

// Blocks of several read pieces are hashed on a second thread beside the
// read: damage anywhere is still found, with one thread, two, or a second
// thread the system refuses.
TEST_F(TableFileSealed, HashingBesideTheReadFindsTheSameDamage) {
    Chain chain({300000, 140000}, 9);
    const std::string good = tftest::sealed(chain.bytes());
    std::mt19937_64 rng(23);
    std::vector<std::string> files{good};
    for (int i = 0; i < 4; ++i) {
        std::string bad = good;
        const uint64_t k = 3 + rng() % (good.size() / 8 - 6);
        tftest::setWord(bad, k, tftest::wordAt(bad, k) ^ (uint64_t{1} << (rng() % 64)));
        files.push_back(bad);
    }
    for (unsigned threads : {1u, 2u}) {
        for (unsigned starts : {1u, 0u}) {
            SCOPED_TRACE(testing::Message() << threads << " thread(s), " << starts << " start(s) allowed (seed 23)");
            primetable::setSieveThreadCap(threads);
            platform::testing::limitThreadStarts(starts);
            for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(passes(files[i]), i == 0) << "file " << i;
        }
    }
    platform::testing::limitThreadStarts(platform::kMaxThreads);
    primetable::setSieveThreadCap(0);
}

TEST_F(TableFileSealed, TheTrailerMustBeWholeAndAlone) {
    Chain chain({8, 6}, 3);
    const std::string good = tftest::sealed(chain.bytes());
    EXPECT_TRUE(passes(good));
    EXPECT_TRUE(passes(chain.bytes()));  // no trailer: checked as before
    for (size_t cut = 1; cut < 24; ++cut) EXPECT_FALSE(passes(good.substr(0, good.size() - cut))) << cut;
    EXPECT_FALSE(passes(good + std::string(8, '\0')));
    EXPECT_FALSE(passes(good + good.substr(good.size() - 24)));
}

// Memory refused midway: the rest of the file is compared with its checksum
// before the caller's table is given up (makeRoom), and a damaged file never
// costs it.
int roomsMade = 0;
void makeRoom() { ++roomsMade; }

TEST_F(TableFileSealed, TheOldTableGoesOnlyForAFileThatHolds) {
    Chain chain({8, 6, 7}, 3);
    const std::string good = tftest::sealed(chain.bytes());
    std::string bad = good;
    tftest::setWord(bad, 17, tftest::wordAt(bad, 17) ^ 4);  // a bitmap word of the last image the check does not read
    for (const std::string* bytes : {&good, static_cast<const std::string*>(&bad)}) {
        tftest::writeFile(dir.file(), *bytes);
        tablefile::Reader r;
        ASSERT_TRUE(tablefile::open(r, dir.file().c_str()));
        ASSERT_TRUE(tablefile::check(r));
        roomsMade = 0;
        const uint64_t live = platform::liveBlockCount();
        platform::testing::refuseAfter(1, UINT64_MAX);  // the first image's block only
        TableBlock *head = nullptr, *newest = nullptr;
        const tablefile::LoadResult result = tablefile::load(r, &head, &newest, makeRoom);
        platform::testing::clearRefusals();
        tablefile::close(r);
        if (bytes == &good) {
            EXPECT_EQ(result, tablefile::LoadResult::Partial);
            EXPECT_EQ(roomsMade, 1);
            EXPECT_EQ(head, newest);  // one block, ended there
            ASSERT_NE(head, nullptr);
            EXPECT_EQ(head[head[0]], table::kEndOfChain);
        } else {
            EXPECT_EQ(result, tablefile::LoadResult::Damaged);
            EXPECT_EQ(roomsMade, 0);
            EXPECT_EQ(head, nullptr);
        }
        tftest::releaseChain(head);
        // The block read before the refusal is given back, and only it (its
        // link word in the file points at a block of this test's chain).
        EXPECT_EQ(platform::liveBlockCount(), live);
    }
}

// A save killed midway leaves "prime.dat.tmp"; the next save removes it.
// One still being written (its lock held) is left alone: the save then
// writes under a name of its own.
TEST_F(TableFileSealed, LeftoverTemporaryFilesAreTakenOver) {
    Chain chain({8, 6}, 3);
    const std::string name = dir.file(), temp = name + ".tmp";
    tftest::writeFile(temp, "the images of a save that was killed");
    ASSERT_GT(tablefile::save(chain.head(), name.c_str()), 0);
    EXPECT_EQ(dir.listing(), "prime.dat\n");
    EXPECT_EQ(tftest::readFile(name), tftest::sealed(chain.bytes()));

    tftest::writeFile(temp, "a save still running");
    const int held = open(temp.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    ASSERT_GT(tablefile::save(chain.head(), name.c_str()), 0);
    EXPECT_EQ(dir.listing(), "prime.dat\nprime.dat.tmp\n");
    EXPECT_EQ(tftest::readFile(temp), "a save still running");
    close(held);
}

}  // namespace
