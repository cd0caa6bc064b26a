// FMD5: our own MD5 and the start-of-game check that Data/units.xml and its
// copy Data/units2.xml hold the same bytes. The check only writes the log;
// nothing else reads its result.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// MD5 over bytes fed in any number of pieces.
class TMD5 {
public:
    void update(const std::uint8_t* data, std::size_t size);
    // Pads, appends the bit length and answers the 16 digest bytes; the
    // object is spent afterwards.
    std::array<std::uint8_t, 16> finish();

private:
    void transform(const std::uint8_t* block);

    std::array<std::uint32_t, 4> state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    std::uint32_t countLow_ = 0;   // bytes processed, low half
    std::uint32_t countHigh_ = 0;  // and high half, bumped on carry
    std::array<std::uint8_t, 64> buffer_{};
};

// 32 lowercase hexadecimal characters, high nibble first.
std::string DigestText(const std::array<std::uint8_t, 16>& digest);

// The digest of the file's whole content; empty when it cannot be read.
std::string FileDigest(const std::string& path);

// Compares <folder>/units.xml with <folder>/units2.xml and writes the result
// as a console line: "MD5 Check : Data Files are identical" or "... different",
// or names the file that is missing.
void CheckDataFiles(const std::string& folder = "Data");
