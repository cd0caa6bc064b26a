#include "shell/FConfig.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(Config, FirstStartWritesExactlyTheFourResolutionKeys)
{
    ScratchDir dir;
    TConfig config(dir.path() + "/Vrax.cfg");
    TWindowSettings s = readStartupConfig(config);
    EXPECT_TRUE(s.windowed);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_EQ(s.width, 1024);
    EXPECT_EQ(s.height, 768);
    EXPECT_EQ(readFile("Vrax.cfg"),
              "[Resolution]\r\nResolution.Width=1024\r\nResolution.Height=768\r\nWindowed=1\r\nFullscreen=0\r\n");
}

TEST(Config, PlayerInfoAppearsOnlyAfterAWrite)
{
    ScratchDir dir;
    TConfig config(dir.path() + "/Vrax.cfg");
    readStartupConfig(config);
    EXPECT_EQ(config.readNickname(), "Unknown soldier");
    EXPECT_EQ(config.readDefaultServerName(), "Vrax server");
    EXPECT_EQ(readFile("Vrax.cfg").find("Player info"), std::string::npos);

    config.writeNickname("Aldric");
    config.writeDefaultServerName("Aldric's keep");
    config.writeNickname("Aldric the Bold");
    EXPECT_EQ(config.readNickname(), "Aldric the Bold");
    EXPECT_EQ(config.readDefaultServerName(), "Aldric's keep");
    EXPECT_EQ(config.readWidth(), 1024);  // the other section is untouched
    std::string text = readFile("Vrax.cfg");
    EXPECT_NE(text.find("[Player info]\r\nNickname=Aldric the Bold\r\nDefault server name=Aldric's keep\r\n"),
              std::string::npos)
        << text;
}

TEST(Config, MissingAndUnreadableValuesFallBackToDefaults)
{
    ScratchDir dir;
    writeFile("Vrax.cfg", "[Resolution]\nResolution.Width=800x\nWindowed=0\nFullscreen=0\n");
    TConfig config(dir.path() + "/Vrax.cfg");
    TWindowSettings s = readStartupConfig(config);
    EXPECT_EQ(s.width, 1024);   // not a number
    EXPECT_EQ(s.height, 768);   // deleted
    EXPECT_FALSE(s.windowed);   // 0 with Fullscreen 0 is still a normal window
    EXPECT_FALSE(s.fullscreen);
    EXPECT_EQ(readFile("Vrax.cfg").find("Resolution.Height"), std::string::npos) << "an existing file is not rewritten";
}

TEST(Config, KeysAndSectionsIgnoreCaseAndBooleansAreAnyInteger)
{
    ScratchDir dir;
    writeFile("Vrax.cfg", "[resolution]\r\n resolution.width = 1280 \r\nFULLSCREEN=7\r\n");
    TConfig config(dir.path() + "/Vrax.cfg");
    EXPECT_EQ(config.readWidth(), 1280);
    EXPECT_TRUE(config.readFullscreen());
}

TEST(Config, AnUnwritableFileLeavesTheDefaultsInEffect)
{
    ScratchDir dir;
    // A path whose folder does not exist cannot be written, even by root.
    TConfig config(dir.path() + "/missing/Vrax.cfg");
    TWindowSettings s = readStartupConfig(config);
    EXPECT_TRUE(s.windowed);
    EXPECT_EQ(s.width, 1024);
    config.writeNickname("nobody");
    EXPECT_EQ(config.readNickname(), "Unknown soldier");
}

TEST(Config, DefaultPathIsBesideTheExecutableAndNamedAfterIt)
{
    TConfig config;
    const std::string& p = config.path();
    ASSERT_GE(p.size(), 4u);
    EXPECT_EQ(p.substr(p.size() - 4), ".cfg");
    EXPECT_NE(p.find("vrax_core_tests.cfg"), std::string::npos);
}
