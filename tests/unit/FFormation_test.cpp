#include "game/FFormation.h"

#include "../support/PrintCell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Cells = std::vector<TCell>;

// Each member's slot less the clicked cell.
Cells offsets(int n, int spacing, TCell centre, TCell base, bool curve)
{
    Cells out;
    for (int i = 0; i < n; ++i) {
        const TCell slot = FormationSlot(i, n, spacing, centre, base, curve);
        out.push_back({slot.x - base.x, slot.y - base.y});
    }
    return out;
}

Cells turnedLeft(const Cells& cells)
{
    Cells out;
    for (TCell c : cells)
        out.push_back({-c.y, c.x});
    return out;
}

bool sameSet(Cells a, Cells b)
{
    const auto order = [](TCell p, TCell q) { return p.x != q.x ? p.x < q.x : p.y < q.y; };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    return a == b;
}

}  // namespace

TEST(Formation, SingleUnitGoesToTheClickedCell)
{
    for (bool curve : {false, true}) {
        EXPECT_EQ(FormationSlot(0, 1, 4, {10, 10}, {57, 23}, curve), (TCell{57, 23}));
        EXPECT_EQ(FormationSlot(0, 1, 4, {10, 10}, {10, 90}, curve), (TCell{10, 90}));
        EXPECT_EQ(FormationSlot(0, 1, 4, {10, 10}, {10, 10}, curve), (TCell{10, 10})) << "onto its own cell";
    }
}

TEST(Formation, FourUnitsFormASquareTurnedToTheMove)
{
    const TCell centre{100, 100};
    // Due east: two rows of two, spacing 5 apart, the first row in front.
    const Cells east = offsets(4, 5, centre, {200, 100}, false);
    EXPECT_EQ(east, (Cells{{7, -5}, {7, 0}, {2, -5}, {2, 0}}));

    // North, west and south: the same square turned by quarters, member by member.
    const Cells north = offsets(4, 5, centre, {100, 200}, false);
    const Cells west = offsets(4, 5, centre, {0, 100}, false);
    const Cells south = offsets(4, 5, centre, {100, 0}, false);
    EXPECT_EQ(north, turnedLeft(east));
    EXPECT_EQ(west, turnedLeft(north));
    EXPECT_EQ(south, turnedLeft(west));

    // A diagonal move turns it by an eighth: still four distinct cells around the front.
    const Cells northEast = offsets(4, 4, centre, {200, 200}, false);
    EXPECT_TRUE(std::all_of(northEast.begin(), northEast.end(), [](TCell c) { return c.x + c.y > 0; }));

    // Ordered onto its own centre, a group has no direction: it forms as for a move east.
    EXPECT_EQ(offsets(4, 5, centre, centre, false), east);
    EXPECT_EQ(offsets(4, 5, centre, centre, true), offsets(4, 5, {0, 100}, centre, true));
}

TEST(Formation, CurveIsSymmetricAboutTheMove)
{
    for (int n : {2, 5, 8, 12}) {
        const Cells east = offsets(n, 4, {100, 100}, {300, 100}, true);
        Cells mirrored;
        for (TCell c : east)
            mirrored.push_back({c.x, -c.y});
        EXPECT_TRUE(sameSet(east, mirrored)) << n;
        EXPECT_EQ(east.back(), (TCell{0, 0})) << "the last member stands on the clicked cell";
        EXPECT_TRUE(sameSet(offsets(n, 4, {100, 100}, {100, 300}, true), turnedLeft(east))) << n;
    }
}
