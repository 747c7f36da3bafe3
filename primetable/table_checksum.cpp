#include "primetable/table_checksum.h"

#include <bit>

namespace tablefile {
namespace {

constexpr uint64_t kP1 = 11400714785074694791u;
constexpr uint64_t kP2 = 14029467366897019727u;
constexpr uint64_t kP3 = 1609587929392839161u;
constexpr uint64_t kP4 = 9650029242287828579u;
constexpr uint64_t kP5 = 2870177450012600261u;

// The words are read as they lie in memory: little-endian, as in the file.
static_assert(std::endian::native == std::endian::little, "the table file is little-endian");

inline uint64_t round(uint64_t acc, uint64_t input) { return std::rotl(acc + input * kP2, 31) * kP1; }
inline uint64_t merge(uint64_t acc, uint64_t lane) { return (acc ^ round(0, lane)) * kP1 + kP4; }

}  // namespace

ImageHash::ImageHash(uint64_t totalBytes)
    : lanes_{kP1 + kP2, kP2, 0, uint64_t{0} - kP1}, total_(totalBytes), pending_{} {}

void ImageHash::stripe(const uint64_t* w) {
    lanes_[0] = round(lanes_[0], w[0]);
    lanes_[1] = round(lanes_[1], w[1]);
    lanes_[2] = round(lanes_[2], w[2]);
    lanes_[3] = round(lanes_[3], w[3]);
}

void ImageHash::feed(const uint64_t* words, uint64_t count) {
    uint64_t i = 0;
    while (pendingCount_ != 0 && i < count) {
        pending_[pendingCount_++] = words[i++];
        if (pendingCount_ == 4) {
            stripe(pending_);
            pendingCount_ = 0;
        }
    }
    uint64_t v1 = lanes_[0], v2 = lanes_[1], v3 = lanes_[2], v4 = lanes_[3];
    for (; i + 4 <= count; i += 4) {
        v1 = round(v1, words[i]);
        v2 = round(v2, words[i + 1]);
        v3 = round(v3, words[i + 2]);
        v4 = round(v4, words[i + 3]);
    }
    lanes_[0] = v1, lanes_[1] = v2, lanes_[2] = v3, lanes_[3] = v4;
    while (i < count) pending_[pendingCount_++] = words[i++];
}

uint64_t ImageHash::value() const {
    uint64_t h;
    if (total_ >= 32) {
        h = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) + std::rotl(lanes_[3], 18);
        for (uint64_t lane : lanes_) h = merge(h, lane);
    } else {
        h = kP5;
    }
    h += total_;
    for (uint64_t i = 0; i < pendingCount_; ++i) h = std::rotl(h ^ round(0, pending_[i]), 27) * kP1 + kP4;
    h ^= h >> 33;
    h *= kP2;
    h ^= h >> 29;
    h *= kP3;
    h ^= h >> 32;
    return h;
}

}  // namespace tablefile
