// The checksum of a table file: XXH64 (seed 0) of its block images, a
// published 64-bit hash that runs at memory speed, so that any reader can
// verify a file with a common tool (xxhsum -H64 over the image bytes).
//
// The images are whole words, so the hash is fed whole words.
#pragma once

#include <cstdint>

namespace tablefile {

class ImageHash {
public:
    // `totalBytes`: the length of everything that will be fed (a multiple of 8).
    explicit ImageHash(uint64_t totalBytes);
    // Feeds the next `count` words, in pieces of any length.
    void feed(const uint64_t* words, uint64_t count);
    // The hash of everything fed, which must be `totalBytes` long.
    uint64_t value() const;

private:
    void stripe(const uint64_t* words);  // four words into the four lanes

    uint64_t lanes_[4];
    uint64_t total_;
    uint64_t pending_[4];  // words fed after the last whole stripe
    uint64_t pendingCount_ = 0;
};

}  // namespace tablefile
