#include "interface/FCursor.h"


#include <gtest/gtest.h>

namespace {

TCursorLook look(std::int32_t state, TScrollFlags flags = {}, std::int64_t time = 0,
                 std::optional<TCursorTarget> target = std::nullopt, bool dragging = false)
{
    return cursorLook(state, flags, time, target, dragging, false);
}

}  // namespace

TEST(CursorLook, PointerTargetingAndGroundCells)
{
    TCursorLook pointer = look(CursorPointer, {}, 12345);
    EXPECT_EQ(pointer.column, 3);
    EXPECT_EQ(pointer.row, 0);
    EXPECT_FALSE(pointer.tint);
    EXPECT_EQ(pointer.offsetX, 0);

    TCursorLook ground = look(CursorTargeting, {}, 500);
    EXPECT_EQ(ground.column, 1);
    EXPECT_EQ(ground.row, 0);
    ASSERT_TRUE(ground.tint);
    EXPECT_EQ(*ground.tint, (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(ground.offsetX, -16);
    EXPECT_EQ(ground.offsetY, -16);

    // Over a unit the targeting cursor runs through the eight cells of row 1, one every 75 ms.
    TCursorTarget enemy{true, false};
    for (int i = 0; i < 9; ++i) {
        TCursorLook t = look(CursorTargeting, {}, i * 75, enemy);
        EXPECT_EQ(t.row, 1);
        EXPECT_EQ(t.column, i % 8);
        EXPECT_EQ(*t.tint, (std::array<float, 3>{1, 0, 0}));
    }
}

TEST(CursorLook, PointerOverUnitsPulsesOncePerSecond)
{
    TCursorTarget own{true, true};
    EXPECT_EQ(*look(CursorPointer, {}, 0, own).tint, (std::array<float, 3>{0, 1, 1}));
    EXPECT_EQ(*look(CursorPointer, {}, 500, own).tint, (std::array<float, 3>{0, 0.5f, 0.5f}));
    EXPECT_EQ(*look(CursorPointer, {}, 1000, own).tint, (std::array<float, 3>{0, 1, 1}));
    EXPECT_EQ(*look(CursorPointer, {}, 250, TCursorTarget{true, false}).tint, (std::array<float, 3>{0.75f, 0, 0}));
    EXPECT_FALSE(look(CursorPointer, {}, 250, TCursorTarget{false, true}).tint) << "a corpse gets no tint";
    EXPECT_FALSE(look(CursorPointer, {}, 250, own, true).tint) << "no tint while dragging";
}

TEST(CursorLook, ScrollArrowTurnsTowardTheFlags)
{
    struct Case {
        TScrollFlags flags;
        float angle;
    } cases[] = {
        {{true, false, false, true}, -135}, {{false, true, false, true}, -45}, {{false, false, false, true}, -90},
        {{true, false, true, false}, 135},  {{false, true, true, false}, 45},  {{false, false, true, false}, 90},
        {{true, false, false, false}, 180}, {{false, true, false, false}, 0},
        {{true, true, true, true}, -135},  // up before down, left before right
    };
    for (const Case& c : cases) {
        TCursorLook l = look(CursorTargeting, c.flags, 150);
        EXPECT_EQ(l.angle, c.angle);
        EXPECT_EQ(l.row, 0);
        EXPECT_EQ(l.column, 5 + 2) << "scrolling wins over the stored state; cells 5..7";
        EXPECT_EQ(l.offsetX, -32);
        EXPECT_EQ(l.offsetY, -16);
    }
}

TEST(CursorLook, BuildingPlacementHidesTheCursor)
{
    EXPECT_FALSE(cursorLook(CursorTargeting, {}, 0, std::nullopt, false, true).visible);
}

TEST(CursorState, FlagsAccumulateUntilAllFalse)
{
    setCursorState(CursorPointer, true, false, false, false);
    setCursorState(CursorPointer, false, false, false, true);
    TScrollFlags f = cursorScrollFlags();
    EXPECT_TRUE(f.left);
    EXPECT_TRUE(f.up);
    EXPECT_FALSE(f.right);
    setCursorState(CursorTargeting, false, false, false, false);
    f = cursorScrollFlags();
    EXPECT_FALSE(f.left || f.up);
    EXPECT_EQ(cursorState(), CursorTargeting);
    setCursorState(CursorPointer, false, false, false, false);
}

TEST(MouseState, InterfacePositionAndButtonCode)
{
    cursorMoved(400, 300, 800, 600);
    EXPECT_EQ(Mouse.interfaceX, 800);
    EXPECT_EQ(Mouse.interfaceY, 600);
    cursorMoved(1, 1, 800, 600);  // 2 interface units each way
    EXPECT_EQ(Mouse.interfaceX, 2);
    cursorMoved(0.3, 0.3, 800, 600);  // 0.6 and 0.6 round to nearest
    EXPECT_EQ(Mouse.interfaceY, 1);
    cursorMoved(5, 5, 0, 0);  // a surface of no size keeps the last interface position
    EXPECT_EQ(Mouse.interfaceX, 1);
    EXPECT_EQ(Mouse.cursorX, 5);

    buttonEvent(1);
    buttonEvent(-1);
    EXPECT_EQ(Mouse.buttonCode, -1) << "a press and release before a frame leave only the release";
    buttonEvent(0);
}
