// SPDX-License-Identifier: MIT
#include "library/flight_hash.h"

#include <nettle/sha2.h>

namespace tevusb::library {

namespace {

void addPackets(sha256_ctx& ctx, const data::MemoryPacket* packets, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        sha256_update(&ctx, data::MemoryPacket::kSize, packets[i].bytes.data());
    }
}

std::string hexDigest(sha256_ctx& ctx) {
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&ctx, SHA256_DIGEST_SIZE, digest);
    static const char* const kHex = "0123456789abcdef";
    std::string text;
    text.reserve(2 * SHA256_DIGEST_SIZE);
    for (const auto byte : digest) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0x0F]);
    }
    return text;
}

}  // namespace

std::string flightHash(const data::MemoryPacket* packets, std::size_t count,
                       const settings::SettingsImage& image) {
    sha256_ctx ctx;
    sha256_init(&ctx);
    addPackets(ctx, packets, count);
    sha256_update(&ctx, image.size(), image.data());
    return hexDigest(ctx);
}

std::string packetsHash(const data::MemoryPacket* packets, std::size_t count) {
    sha256_ctx ctx;
    sha256_init(&ctx);
    addPackets(ctx, packets, count);
    return hexDigest(ctx);
}

}  // namespace tevusb::library
