#include "game/FMD5.h"

#include "platform/Files.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cstring>

namespace {

// Per-round shift amounts and the sine table of the MD5 definition.
constexpr std::uint32_t Shift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                     5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                     4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                     6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr std::uint32_t Sine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

std::uint32_t rotateLeft(std::uint32_t x, std::uint32_t n) { return (x << n) | (x >> (32 - n)); }

}  // namespace

void TMD5::transform(const std::uint8_t* block)
{
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = std::uint32_t(block[i * 4]) | std::uint32_t(block[i * 4 + 1]) << 8 | std::uint32_t(block[i * 4 + 2]) << 16 |
               std::uint32_t(block[i * 4 + 3]) << 24;
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
        std::uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const std::uint32_t next = b + rotateLeft(a + f + Sine[i] + m[g], Shift[i]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void TMD5::update(const std::uint8_t* data, std::size_t size)
{
    std::size_t used = countLow_ % 64;
    const std::uint32_t before = countLow_;
    countLow_ += static_cast<std::uint32_t>(size);
    if (countLow_ < before)
        ++countHigh_;
    countHigh_ += static_cast<std::uint32_t>(static_cast<std::uint64_t>(size) >> 32);

    if (used > 0) {
        const std::size_t take = std::min(size, 64 - used);
        std::memcpy(buffer_.data() + used, data, take);
        data += take;
        size -= take;
        used += take;
        if (used < 64)
            return;
        transform(buffer_.data());
    }
    for (; size >= 64; data += 64, size -= 64)
        transform(data);
    if (size > 0)
        std::memcpy(buffer_.data(), data, size);
}

std::array<std::uint8_t, 16> TMD5::finish()
{
    const std::uint64_t bits = ((static_cast<std::uint64_t>(countHigh_) << 32) | countLow_) << 3;
    // 0x80, then zeros up to 56 bytes into a block, then the bit length.
    std::uint8_t padding[72] = {0x80};
    const std::size_t used = countLow_ % 64;
    const std::size_t padLength = used < 56 ? 56 - used : 120 - used;
    update(padding, padLength);
    std::uint8_t length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    update(length, 8);
    std::array<std::uint8_t, 16> digest{};
    for (int i = 0; i < 16; ++i)
        digest[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(state_[static_cast<std::size_t>(i / 4)] >> (8 * (i % 4)));
    return digest;
}

std::string DigestText(const std::array<std::uint8_t, 16>& digest)
{
    static const char Hex[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : digest) {
        text += Hex[byte >> 4];
        text += Hex[byte & 15];
    }
    return text;
}

std::string FileDigest(const std::string& path)
{
    const auto bytes = platform::readBinaryFile(platform::contentPath(path));
    if (!bytes)
        return "";
    TMD5 md5;
    md5.update(bytes->data(), bytes->size());
    return DigestText(md5.finish());
}

void CheckDataFiles(const std::string& folder)
{
    const std::string original = folder + "/units.xml";
    const std::string copy = folder + "/units2.xml";
    const std::string a = FileDigest(original);
    const std::string b = FileDigest(copy);
    // No digest means no file: say which, rather than calling two absent files identical.
    if (a.empty() || b.empty())
        logLine("MD5 Check : Data File missing (" + (a.empty() ? original : copy) + ")");
    else
        logLine(a == b ? "MD5 Check : Data Files are identical" : "MD5 Check : Data Files are different");
}
