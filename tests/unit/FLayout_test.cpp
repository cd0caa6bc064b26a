// Layout on interfaces loaded from small files: inherited sizes, anchor
// points, references laid out later, and values scripts may set.
#include "interface/FFonts.h"
#include "interface/FLayout.h"
#include "interface/FXMLLoader.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using namespace testing_support;

namespace {

struct Layout : ::testing::Test {
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        initFonts();
        writeFile("Fonts/Thorndale14.glf", testFontBytes());
        writeFile("ui.xml", R"(<Ui>
  <Frame name="Panel" width="300" height="200"><Anchor point="CENTER" relativePoint="CENTER" x="10"/>
    <Frame name="Inner"><Anchor point="BOTTOMRIGHT" relativePoint="BOTTOMRIGHT" x="-5" y="-5"/></Frame>
    <Frame name="Small" height="21" width="-1"><Anchor point="TOP" relativeTo="Later" relativePoint="BOTTOM"/></Frame>
    <FontString name="Label" text="abc"><Anchor point="center" relativePoint="CENTER"/></FontString>
  </Frame>
  <Frame name="Later" width="100" height="40"><Anchor x="700" y="900"/></Frame>
</Ui>)");
        loadInterface("ui.xml");
    }
    void TearDown() override
    {
        unloadInterface();
        initFonts();
    }
    static FrameType& frame(const std::string& name) { return *frames[static_cast<std::size_t>(findFrame(name))]; }
};

}  // namespace

TEST_F(Layout, SizesInheritAndAnchorPointsPlaceElements)
{
    FrameType& panel = frame("Panel");
    FrameType& inner = frame("Inner");
    EXPECT_EQ(effectiveWidthOf(*frames[0]), 1600);
    EXPECT_EQ(effectiveWidthOf(inner), 300);
    EXPECT_EQ(effectiveHeightOf(frame("Small")), 21);
    EXPECT_EQ(effectiveWidthOf(frame("Small")), 300);

    layout(panel);
    EXPECT_EQ(panel.x, 800 - 150 + 10);
    EXPECT_EQ(panel.y, 600 - 100);
    layout(inner);  // the same size as its parent, pulled 5 units in
    EXPECT_EQ(inner.x, panel.x - 5);
    EXPECT_EQ(inner.y, panel.y - 5);
    EXPECT_EQ(inner.effectiveWidth, 300);

    FontStringType& label = *fontStrings[0];
    layout(label);
    EXPECT_EQ(label.x, panel.x + 150 - label.width / 2);
    EXPECT_EQ(label.y, panel.y + 100 - label.height / 2);

    const TPoint halves = anchorOffset(AnchorCenter, 7, -7);
    EXPECT_EQ(halves.x, 3);
    EXPECT_EQ(halves.y, -3);  // toward zero
    EXPECT_EQ(anchorOffset(AnchorBottomRight, 4, 6).y, 6);
    EXPECT_EQ(anchorOffset(42, 4, 6).x, 0);
}

TEST_F(Layout, AReferenceLaidOutLaterIsSeenAtItsLastPosition)
{
    FrameType& small = frame("Small");
    FrameType& later = frame("Later");
    layout(small);  // Later has not been placed yet: (0, 0)
    EXPECT_EQ(small.x, 50 - 150);
    EXPECT_EQ(small.y, 40);
    layout(later);
    layout(small);
    EXPECT_EQ(small.x, 700 + 50 - 150);
    EXPECT_EQ(small.y, 940);
}

TEST_F(Layout, ExtremeValuesNeitherWrapNorLoop)
{
    FrameType& panel = frame("Panel");
    panel.offsetX = INT_MAX;
    panel.width = -1;
    layout(panel);
    EXPECT_EQ(panel.x, INT_MAX);
    frames[0]->width = -1;  // a script broke the root: the design width stands in
    EXPECT_EQ(effectiveWidthOf(frame("Inner")), 1600);
    panel.relativeIndex = 999;
    layout(panel);
}
