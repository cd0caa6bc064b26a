#include "interaction/FSelection.h"

#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cmath>

namespace {

bool validIndex(const TGame& game, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < game.units.size();
}

bool isLocal(const TGame& game, const TUnit& unit)
{
    return unit.owner == game.localPlayer;
}

// The local player's units of the first picked unit's type within 40 cells
// of it, nearest first; at most 18, buildings only in first place.
void addSameType(TGame& game, TUnit& first)
{
    struct Near {
        std::int64_t d;
        std::size_t order;
        TUnit* unit;
    };
    std::vector<Near> near;
    for (std::size_t i = 0; i < game.units.size(); ++i) {
        TUnit& u = *game.units[i];
        if (!isLocal(game, u) || !u.unitType || !first.unitType || u.unitType->name != first.unitType->name)
            continue;
        const std::int64_t dx = u.cellX - first.cellX, dy = u.cellY - first.cellY;
        const std::int64_t d = dx * dx + dy * dy;
        if (d < 1600)
            near.push_back({&u == &first ? -1 : d, i, &u});
    }
    std::stable_sort(near.begin(), near.end(), [](const Near& a, const Near& b) { return a.d < b.d; });
    int added = 0;
    for (std::size_t k = 0; k < near.size() && added < SelectionLimit; ++k) {
        if (k > 0 && near[k].unit->IsBuilding())
            continue;
        AddToGroup(game, game.selection, *near[k].unit);
        ++added;
    }
}

void addPicked(TGame& game, std::int32_t index)
{
    if (!validIndex(game, index)) {
        log("Trying to add unexisting unit to selection " + std::to_string(index), LogDebug);
        return;
    }
    AddToGroup(game, game.selection, *game.units[static_cast<std::size_t>(index)]);
}

// Every further picked unit of the local player that is not a building.
void addOwnTroops(TGame& game, const std::vector<std::int32_t>& picked, std::size_t from)
{
    for (std::size_t k = from; k < picked.size(); ++k) {
        if (!validIndex(game, picked[k])) {
            log("Trying to add unexisting unit to selection " + std::to_string(picked[k]), LogDebug);
            continue;
        }
        TUnit& u = *game.units[static_cast<std::size_t>(picked[k])];
        if (isLocal(game, u) && !u.IsBuilding())
            AddToGroup(game, game.selection, u);
    }
}

bool isSelected(const TGame& game, const TUnit& unit)
{
    return std::find(game.selection.members.begin(), game.selection.members.end(), &unit) !=
           game.selection.members.end();
}

void ownPickRules(TGame& game, const TMouse& mouse, bool shift, bool ctrl, bool doubleClick)
{
    const std::vector<std::int32_t>& picked = mouse.pickedUnits;
    TUnit* first = validIndex(game, picked[0]) ? game.units[static_cast<std::size_t>(picked[0])].get() : nullptr;
    if (shift && (ctrl || doubleClick)) {
        if (first)
            addSameType(game, *first);
    } else if (shift) {
        if (picked.size() == 1 && first && isSelected(game, *first)) {
            RemoveFromGroup(game, game.selection, *first);
            return;
        }
        const TUnit* leader = FirstMember(game.selection);
        if (leader && isLocal(game, *leader)) {
            addPicked(game, picked[0]);
            addOwnTroops(game, picked, 1);
        }
    } else if (ctrl || doubleClick) {
        ClearGroup(game, game.selection);
        if (first)
            addSameType(game, *first);
    } else {
        ClearGroup(game, game.selection);
        if (picked.size() == 1)
            addPicked(game, picked[0]);
        else
            addOwnTroops(game, picked, 0);
    }
}

void foreignPickRules(TGame& game, const TMouse& mouse, bool shift)
{
    const std::int32_t index = mouse.pickedUnits[0];
    TUnit* first = validIndex(game, index) ? game.units[static_cast<std::size_t>(index)].get() : nullptr;
    const bool wasSelected = first && isSelected(game, *first);
    ClearGroup(game, game.selection);
    if (shift && wasSelected)
        return;
    if (first && first->alive)
        AddToGroup(game, game.selection, *first);
}

}  // namespace

bool IsRectangle(const TMouse& mouse)
{
    return mouse.dragging && (std::abs(mouse.cursorX - mouse.dragStartX) >= DragThreshold ||
                              std::abs(mouse.cursorY - mouse.dragStartY) >= DragThreshold);
}

void ChoosePicked(const TGame& game, TMouse& mouse, const std::vector<std::int32_t>& names, bool rectangle)
{
    if (names.empty() || game.units.empty()) {
        mouse.hitFlag = 0;
        return;
    }
    mouse.hitFlag = 1;
    mouse.pickedUnits.clear();
    if (rectangle) {
        mouse.pickedUnits = names;
        return;
    }
    std::int32_t best = -1;
    for (std::int32_t name : names) {
        if (!validIndex(game, name))
            continue;
        if (best < 0 || game.units[static_cast<std::size_t>(name)]->position[1] <
                            game.units[static_cast<std::size_t>(best)]->position[1])
            best = name;
    }
    if (best < 0) {
        mouse.hitFlag = 0;
        return;
    }
    mouse.pickedUnits.push_back(best);
    // What the cursor's tint reads: the unit under it and whose it is.
    const TUnit& unit = *game.units[static_cast<std::size_t>(best)];
    mouse.hoverUnit = TCursorTarget{unit.alive, isLocal(game, unit)};
}

bool IsHovered(const TMouse& mouse, int index)
{
    return mouse.hitFlag && std::find(mouse.pickedUnits.begin(), mouse.pickedUnits.end(), index) !=
                                mouse.pickedUnits.end();
}

bool OwnPick(const TGame& game, const TMouse& mouse)
{
    for (std::int32_t index : mouse.pickedUnits)
        if (validIndex(game, index) && isLocal(game, *game.units[static_cast<std::size_t>(index)]))
            return true;
    return false;
}

bool GroundIntersection(const double nearPoint[3], const double farPoint[3], std::int32_t& x, std::int32_t& y)
{
    const double dz = nearPoint[2] - farPoint[2];
    if (dz == 0)
        return false;
    const double t = farPoint[2] / dz;
    const double gx = farPoint[0] - t * (nearPoint[0] - farPoint[0]);
    const double gy = farPoint[1] - t * (nearPoint[1] - farPoint[1]);
    if (!std::isfinite(gx) || !std::isfinite(gy) || std::abs(gx) > 1e9 || std::abs(gy) > 1e9)
        return false;
    x = static_cast<std::int32_t>(std::lround(gx));
    y = static_cast<std::int32_t>(std::lround(gy));
    return true;
}

void LeftButtonDown(TMouse& mouse)
{
    mouse.dragging = 1;
    mouse.dragStartX = mouse.cursorX;
    mouse.dragStartY = mouse.cursorY;
}

void LeftButtonUp(TGame& game, TMouse& mouse, bool shift, bool ctrl, double now)
{
    const bool placing = mouse.pendingCommand && mouse.pendingCommand->kind == 7;
    if (mouse.hitFlag && mouse.dragging && !placing && !mouse.pickedUnits.empty()) {
        const bool doubleClick = mouse.lastLeftUpTime != 0 && now - mouse.lastLeftUpTime < DoubleClickMs;
        if (OwnPick(game, mouse))
            ownPickRules(game, mouse, shift, ctrl, doubleClick);
        else
            foreignPickRules(game, mouse, shift);
        // A third quick click is a plain click again.
        mouse.lastLeftUpTime = doubleClick ? 0 : now;
    }
    mouse.dragging = 0;
}

TCircle CircleFor(const TGame& game, const TMouse& mouse, const TUnit& unit, int index, bool ownPick)
{
    if (!unit.alive)
        return TCircle::None;
    if (unit.selected)
        return TCircle::Selected;
    if (!IsHovered(mouse, index))
        return TCircle::None;
    // While the player's own units are under the cursor, only theirs light up.
    if (ownPick && !isLocal(game, unit))
        return TCircle::None;
    return TCircle::Hovered;
}

std::vector<TPlacementSquare> PlacementSquares(const TGame& game, const TUnitAttributes& type, std::int32_t groundX,
                                               std::int32_t groundY)
{
    std::vector<TPlacementSquare> squares;
    const int s = type.size, n = s / 4, o = s / 8;
    const int gx = groundX / 64, gy = groundY / 64;
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            TPlacementSquare q;
            q.x0 = (gx - a + o - 1) * 64;
            q.x1 = q.x0 + 64;
            q.y0 = (gy - b + o - 1) * 64;
            q.y1 = q.y0 + 64;
            for (int r = 0; r < 4 && !q.occupied; ++r)
                for (int c = 0; c < 4; ++c) {
                    const int cx = (gx - a + o - 1) * 4 + r, cy = (gy - b + o - 1) * 4 + c;
                    if (!IsFootprintInside(s, cx, cy))
                        continue;
                    // IsFootprintInside leaves the far side open: read only cells on the grid.
                    if (game.map.OnGrid(cx, cy) && game.map.at(cx, cy).occupancy != 0) {
                        q.occupied = true;
                        break;
                    }
                }
            squares.push_back(q);
        }
    return squares;
}

const TUnitAttributes* PlacingBuilding(const TMouse& mouse)
{
    if (!mouse.pendingCommand || mouse.pendingCommand->kind != 7)
        return nullptr;
    return mouse.pendingCommand->building;
}
