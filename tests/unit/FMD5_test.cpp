#include "game/FMD5.h"

#include "shell/FLogs.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace testing_support;

namespace {

std::string md5sum(const std::string& path) { return capture("md5sum " + path).substr(0, 32); }

}  // namespace

// Sizes around the 56-byte padding limit and the 64-byte block, and a file
// larger than the buffer, against the system's md5sum.
TEST(MD5, FileDigestsMatchMd5sum)
{
    ScratchDir dir;
    writeFile("empty", "");
    EXPECT_EQ(FileDigest("empty"), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5sum("empty"), "d41d8cd98f00b204e9800998ecf8427e");
    for (std::size_t size : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u, 70001u}) {
        std::string bytes;
        for (std::size_t i = 0; i < size; ++i)
            bytes += static_cast<char>((i * 7919u + size) % 256);
        writeFile("f", bytes);
        EXPECT_EQ(FileDigest("f"), md5sum("f")) << size;
    }
    EXPECT_EQ(FileDigest("absent"), "");
}

TEST(MD5, PiecesGiveTheDigestOfTheWhole)
{
    std::string text = "The quick brown fox jumps over the lazy dog";
    for (int i = 0; i < 5; ++i)
        text += text;
    TMD5 whole;
    whole.update(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    TMD5 pieces;
    for (std::size_t at = 0, step = 1; at < text.size(); at += step, step = step * 3 % 97 + 1)
        pieces.update(reinterpret_cast<const std::uint8_t*>(text.data()) + at, std::min(step, text.size() - at));
    EXPECT_EQ(DigestText(pieces.finish()), DigestText(whole.finish()));

    TMD5 fox;
    fox.update(reinterpret_cast<const std::uint8_t*>(text.data()), 43);
    EXPECT_EQ(DigestText(fox.finish()), "9e107d9d372bb6826bd81d3542a419d6");
}

TEST(MD5, CheckDataFilesLogsIdenticalDifferentOrMissing)
{
    ScratchDir dir;
    startLog();
    const std::string units = "<units><unit><id>1</id></unit></units>\n";
    writeFile("Data/units.xml", units);
    writeFile("Data/units2.xml", units);
    CheckDataFiles();
    std::string one = units;
    one[10] = 'X';
    writeFile("Data/units2.xml", one);
    CheckDataFiles();
    writeFile("Data/units.xml", "");
    writeFile("Data/units2.xml", "");
    CheckDataFiles();
    std::remove("Data/units2.xml");
    CheckDataFiles();

    const std::vector<std::string> lines = readLines("Logs/log.txt");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].substr(13), "Debug: Addline : MD5 Check : Data Files are identical\r");
    EXPECT_EQ(lines[2].substr(13), "Debug: Addline : MD5 Check : Data Files are different\r");
    EXPECT_EQ(lines[3].substr(13), "Debug: Addline : MD5 Check : Data Files are identical\r");
    EXPECT_EQ(lines[4].substr(13), "Debug: Addline : MD5 Check : Data File missing (Data/units2.xml)\r");
}
