#include "shell/FLogs.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using namespace testing_support;

namespace {

const std::regex stamp("\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d");

std::string withoutStamp(const std::string& line)
{
    EXPECT_TRUE(std::regex_search(line, std::regex("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d "))) << line;
    return line.substr(13);
}

}  // namespace

TEST(Log, StartWritesOnlyInitialisationAndTruncates)
{
    ScratchDir dir;
    writeFile("Logs/log.txt", "old content\r\n");
    startLog();
    std::string text = readFile("Logs/log.txt");
    ASSERT_EQ(text.size(), 12u + 17u);
    EXPECT_TRUE(std::regex_match(text.substr(0, 12), stamp));
    EXPECT_EQ(text.substr(12), " Initialisation\r\n");
}

TEST(Log, LinesHaveLevelWordsAndCrlf)
{
    ScratchDir dir;
    startLog();
    log("Interface Loaded", LogDebug);
    log("careful", LogWarning);
    log("", LogDebug);
    log("odd", 7);
    log("negative", -1);
    std::vector<std::string> lines = readLines("Logs/log.txt");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(withoutStamp(lines[1]), "Debug: Interface Loaded\r");
    EXPECT_EQ(withoutStamp(lines[2]), "Warning: careful\r");
    EXPECT_EQ(withoutStamp(lines[3]), "Debug: \r");
    EXPECT_EQ(withoutStamp(lines[4]), ": odd\r");
    EXPECT_EQ(withoutStamp(lines[5]), ": negative\r");
}

TEST(Log, ErrorLevelIsWrittenBeforeItRaises)
{
    ScratchDir dir;
    startLog();
    try {
        log("Array is full !", LogError);
        FAIL() << "level 2 must raise";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Array is full !");
        std::vector<std::string> lines = readLines("Logs/log.txt");
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(withoutStamp(lines[1]), "Error: Array is full !\r");
    }
}

TEST(Log, WritesUtf8WhateverTheEngineTextIs)
{
    ScratchDir dir;
    startLog();
    log("caf\xe9", LogDebug);        // Latin-1, as typed into the game
    log("caf\xc3\xa9", LogDebug);    // already UTF-8, as read from a file
    std::vector<std::string> lines = readLines("Logs/log.txt");
    EXPECT_EQ(withoutStamp(lines[1]), "Debug: caf\xc3\xa9\r");
    EXPECT_EQ(withoutStamp(lines[2]), "Debug: caf\xc3\xa9\r");
}

TEST(Log, UnwritableLogRaisesInsteadOfLosingLinesSilently)
{
    ScratchDir dir;
    writeFile("Logs", "a file where the folder should be");
    EXPECT_THROW(startLog(), EngineError);
    EXPECT_THROW(log("lost", LogDebug), EngineError);
}
