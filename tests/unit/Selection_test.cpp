// The player's mouse without a screen: which picked unit a click means, the
// click, Shift, Ctrl, double-click and rectangle rules on the selection, the
// circles, the ground point, the placement squares, and a camera that keeps
// its limits whatever the wheel, the arrows and the edges ask.
#include "../support/GameSupport.h"
#include "game/Fgroup.h"
#include "interaction/FCamera.h"
#include "interaction/FSelection.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Selecting : public ::testing::Test {
protected:
    GameTest t;
    TMouse mouse;
    int soldier = addType(soldierType());
    int archer = addType(soldierType("Archer"));
    int barracks = -1;

    Selecting()
    {
        TUnitAttributes b = soldierType("Barracks");
        b.isBuilding = true;
        b.size = 8;
        barracks = addType(b);
    }
    // A click (or a rectangle when `rectangle`) on these units, released at `now`.
    void release(const std::vector<TUnit*>& units, bool rectangle, bool shift = false, bool ctrl = false,
                 double now = 10000)
    {
        std::vector<std::int32_t> names;
        for (TUnit* u : units)
            names.push_back(u->listIndex);
        mouse.cursorX = mouse.cursorY = 100;
        LeftButtonDown(mouse);
        if (rectangle)
            mouse.cursorX += 50;
        ChoosePicked(t.game, mouse, names, IsRectangle(mouse));
        LeftButtonUp(t.game, mouse, shift, ctrl, now);
    }
    std::vector<TUnit*>& selection() { return t.game.selection.members; }
};

}  // namespace

TEST_F(Selecting, AClickMeansTheLowestUnitAndARectangleEveryOneInHitOrder)
{
    TUnit& high = t.unitAt(soldier, 50, 60);
    TUnit& low = t.unitAt(soldier, 60, 50);
    TUnit& alsoLow = t.unitAt(soldier, 70, 50);
    ChoosePicked(t.game, mouse, {high.listIndex, low.listIndex, alsoLow.listIndex, 99}, false);
    EXPECT_EQ(mouse.hitFlag, 1);
    EXPECT_EQ(mouse.pickedUnits, std::vector<std::int32_t>{low.listIndex});
    // The cursor's tint reads the same unit.
    ASSERT_TRUE(mouse.hoverUnit);
    EXPECT_TRUE(mouse.hoverUnit->alive);
    EXPECT_EQ(mouse.hoverUnit->ownedByLocalPlayer, low.owner == t.game.localPlayer);

    // A drag under 5 pixels both ways is still a click.
    mouse.cursorX = mouse.cursorY = 10;
    LeftButtonDown(mouse);
    mouse.cursorX = 14;
    mouse.cursorY = 6;
    EXPECT_FALSE(IsRectangle(mouse));
    mouse.cursorX = 15;
    EXPECT_TRUE(IsRectangle(mouse));
    ChoosePicked(t.game, mouse, {high.listIndex, low.listIndex}, true);
    EXPECT_EQ(mouse.pickedUnits, (std::vector<std::int32_t>{high.listIndex, low.listIndex}));

    // No hit: the flag drops, and the release leaves the selection alone.
    AddToGroup(t.game, t.game.selection, high);
    ChoosePicked(t.game, mouse, {}, false);
    EXPECT_EQ(mouse.hitFlag, 0);
    LeftButtonUp(t.game, mouse, false, false, 500);
    EXPECT_EQ(selection(), std::vector<TUnit*>{&high});
    EXPECT_EQ(mouse.dragging, 0);
}

TEST_F(Selecting, ClicksShiftAndRectanglesOnTheLocalPlayersUnits)
{
    TUnit& a = t.unitAt(soldier, 50, 50);
    TUnit& b = t.unitAt(soldier, 60, 50);
    TUnit& hall = t.unitAt(barracks, 80, 80);
    TUnit& enemy = t.unitAt(soldier, 70, 50, 2);

    release({&a}, false);
    EXPECT_EQ(selection(), std::vector<TUnit*>{&a});
    // Shift adds; Shift on the only selected unit takes it out again.
    release({&b}, false, true, false, 20000);
    EXPECT_EQ(selection().size(), 2u);
    release({&b}, false, true, false, 30000);
    EXPECT_EQ(selection(), std::vector<TUnit*>{&a});
    // A rectangle keeps the player's own troops: not the building, not the enemy.
    release({&hall, &a, &enemy, &b}, true, false, false, 40000);
    EXPECT_EQ(selection().size(), 2u);
    EXPECT_FALSE(hall.selected);
    EXPECT_FALSE(enemy.selected);
    // A building clicked alone is selected.
    release({&hall}, false, false, false, 50000);
    EXPECT_EQ(selection(), std::vector<TUnit*>{&hall});
}

TEST_F(Selecting, ARectangleOverThirtyTakesTheFirstEighteen)
{
    std::vector<TUnit*> crowd;
    for (int i = 0; i < 30; ++i)
        crowd.push_back(&t.unitAt(soldier, 20 + 6 * (i % 10), 20 + 6 * (i / 10)));
    release(crowd, true);
    ASSERT_EQ(selection().size(), 18u);
    for (int i = 0; i < 18; ++i)
        EXPECT_TRUE(crowd[static_cast<std::size_t>(i)]->selected) << i;
}

TEST_F(Selecting, ADoubleClickTakesTheSameTypeNearbyNearestFirstAndAThirdClickIsPlain)
{
    TUnit& clicked = t.unitAt(soldier, 100, 100);
    TUnit& far = t.unitAt(soldier, 135, 100);   // 35 cells: inside 40
    TUnit& near = t.unitAt(soldier, 110, 100);
    TUnit& tooFar = t.unitAt(soldier, 141, 100);
    TUnit& otherType = t.unitAt(archer, 105, 100);
    TUnit& foreign = t.unitAt(soldier, 100, 110, 2);

    release({&clicked}, false, false, false, 1000);
    release({&clicked}, false, false, false, 1200);
    EXPECT_TRUE(clicked.selected && near.selected && far.selected);
    EXPECT_FALSE(tooFar.selected || otherType.selected || foreign.selected);
    EXPECT_EQ(selection().size(), 3u);
    // The third quick click is a plain click again.
    release({&clicked}, false, false, false, 1300);
    EXPECT_EQ(selection(), std::vector<TUnit*>{&clicked});
    // Ctrl does what the double click does; from the middle one the last is in reach too.
    release({&near}, false, false, true, 5000);
    EXPECT_EQ(selection().size(), 4u);
    EXPECT_EQ(selection()[0], &near);
    EXPECT_TRUE(tooFar.selected);
}

TEST_F(Selecting, AnotherPlayersUnitIsSelectedAloneAndShiftClickingItAgainClears)
{
    TUnit& own = t.unitAt(soldier, 50, 50);
    TUnit& enemy = t.unitAt(soldier, 60, 50, 2);
    release({&own}, false);
    release({&enemy}, false, false, false, 20000);
    EXPECT_EQ(selection(), std::vector<TUnit*>{&enemy});
    release({&enemy}, false, true, false, 30000);
    EXPECT_TRUE(selection().empty());

    // Circles: the selected unit, and the hovered one unless the player's own are under the cursor.
    AddToGroup(t.game, t.game.selection, own);
    mouse.hitFlag = 1;
    mouse.pickedUnits = {enemy.listIndex};
    EXPECT_EQ(CircleFor(t.game, mouse, own, own.listIndex, OwnPick(t.game, mouse)), TCircle::Selected);
    EXPECT_EQ(CircleFor(t.game, mouse, enemy, enemy.listIndex, OwnPick(t.game, mouse)), TCircle::Hovered);
    mouse.pickedUnits = {enemy.listIndex, own.listIndex};
    EXPECT_EQ(CircleFor(t.game, mouse, enemy, enemy.listIndex, OwnPick(t.game, mouse)), TCircle::None);
    own.alive = false;
    EXPECT_EQ(CircleFor(t.game, mouse, own, own.listIndex, true), TCircle::None);
}

TEST_F(Selecting, PlacementSquaresAndTheGroundPoint)
{
    TUnitAttributes small = soldierType("Tower");
    small.isBuilding = true;
    small.size = 4;
    EXPECT_EQ(PlacementSquares(t.game, small, 1000, 1000).size(), 1u);
    const TUnitAttributes& big = typeAt(barracks);
    std::vector<TPlacementSquare> squares = PlacementSquares(t.game, big, 1000, 1000);
    ASSERT_EQ(squares.size(), 4u);
    // 2 x 2 squares of 64 around the grid point (15 x 64, 15 x 64).
    EXPECT_EQ(squares[0].x0, 960);
    EXPECT_EQ(squares[0].y1, 1024);
    EXPECT_EQ(squares[3].x0, 896);
    EXPECT_EQ(squares[3].y0, 896);
    for (const TPlacementSquare& q : squares)
        EXPECT_FALSE(q.occupied);
    t.unitAt(addType(small), 62, 62);  // covers cells 60..63, inside square 0
    squares = PlacementSquares(t.game, big, 1000, 1000);
    EXPECT_TRUE(squares[0].occupied);
    EXPECT_FALSE(squares[3].occupied);
    // At the map's far edge nothing is read off the grid.
    EXPECT_EQ(PlacementSquares(t.game, big, 7679, 7679).size(), 4u);

    std::int32_t x = 0, y = 0;
    const double nearPoint[3] = {100, 200, 1000}, farPoint[3] = {300, 600, -1000};
    ASSERT_TRUE(GroundIntersection(nearPoint, farPoint, x, y));
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 400);
    const double level[3] = {0, 0, 5};
    EXPECT_FALSE(GroundIntersection(level, level, x, y));
}

TEST(Camera, ZoomStopsExactlyAtBothEndsAndTheTargetKeepsItsLimits)
{
    TCamera camera;
    ResetCamera(camera);
    EXPECT_DOUBLE_EQ(camera.targetX, 3840);
    for (int i = 0; i < 50; ++i)
        ZoomCamera(camera, 120);
    EXPECT_EQ(camera.pitch, CameraHighPitch);
    EXPECT_EQ(camera.height, CameraNearHeight);
    ZoomCamera(camera, -120);
    EXPECT_LT(camera.pitch, CameraHighPitch);
    for (int i = 0; i < 50; ++i)
        ZoomCamera(camera, -120);
    EXPECT_EQ(camera.pitch, CameraLowPitch);
    EXPECT_EQ(camera.height, CameraFarHeight);
    // The eye stands behind the target, below it on the map.
    EXPECT_NEAR(camera.eyeX, camera.targetX, 1e-6);
    EXPECT_NEAR(camera.eyeY, camera.targetY - 1500, 1e-6);

    // Held arrows and edges push as far as they like; the target stays inside.
    TScrollKeys arrows{true, false, false, true};
    for (int i = 0; i < 100; ++i)
        EdgeScroll(camera, 500, 400, 1024, 764, arrows, 100);
    EXPECT_EQ(camera.targetX, CameraMinX);
    EXPECT_EQ(camera.targetY, CameraMinY);
    for (int i = 0; i < 100; ++i)
        EdgeScroll(camera, 1020, 2, 1024, 764, {}, 100);
    EXPECT_EQ(camera.targetX, CameraMaxX);
    EXPECT_EQ(camera.targetY, CameraMaxY);
    DragCamera(camera, -100000, -100000);
    EXPECT_EQ(camera.targetX, CameraMaxX);
    EXPECT_EQ(camera.targetY, CameraMinY);

    // A frame's step is twice its time; the cursor at an edge asks for the scroll shape, an arrow does not.
    ResetCamera(camera);
    const TEdgeScroll byEdge = EdgeScroll(camera, 3, 400, 1024, 764, {}, 50);
    EXPECT_DOUBLE_EQ(camera.targetX, 3740);
    EXPECT_TRUE(byEdge.left && byEdge.cursorLeft);
    const TEdgeScroll byKey = EdgeScroll(camera, 3, 400, 1024, 764, {true, false, false, false}, 50);
    EXPECT_TRUE(byKey.left);
    EXPECT_FALSE(byKey.cursorLeft);
}
