// Fgroup: groups of units that take orders together. The player's selection
// is one TUnitGroup: at most 18 members, kept sorted by type kind (heroes
// first), and a cell order spreads them over a formation. The ten control
// groups are plain lists of the game state that the digit keys store and
// recall; the rules drop the dead from all of them. On the host a group
// order goes to each member at once, on any other machine to the host.
#pragma once

#include "world/Fmap.h"

#include <cstdint>
#include <vector>

class TUnit;
class TGame;
struct Torder;

class TUnitGroup {
public:
    std::vector<TUnit*> members;  // non-owning
    std::int32_t spacing = 4;     // cells between formation slots
};

constexpr int SelectionLimit = 18;

// Adds a live unit that is not yet a member while the group has fewer than
// 18: plays its "listen", sets its selected flag, widens the spacing to its
// size + 1, raises the unit-changed event and sorts the members by type kind.
void AddToGroup(TGame& game, TUnitGroup& group, TUnit& unit);
// Takes the unit out of the group (when it is a member): clears its selected
// flag, recomputes the spacing, raises the unit-changed event and keeps the
// members sorted by type kind.
void RemoveFromGroup(TGame& game, TUnitGroup& group, TUnit& unit);
// Empties the group, clearing every member's selected flag; spacing 4.
void ClearGroup(TGame& game, TUnitGroup& group);
// The first member, or nullptr.
TUnit* FirstMember(const TUnitGroup& group);
// The mean of the members' cells, truncated towards zero; (0, 0) when empty.
TCell GroupCentre(const TUnitGroup& group);

// The order to every member, replacing what it does. A move, attack-move or
// patrol sends each member to its own formation slot around the order's cell
// (a curve while the formation key is held, else a grid).
void GiveGroupOrder(TGame& game, const TUnitGroup& group, const Torder& order);
// The order after what each member does; an idle member starts it at once.
// No formation.
void QueueGroupOrder(TGame& game, const TUnitGroup& group, const Torder& order);

// The digit keys. Store: control group g becomes a copy of the selection.
// Append: the selected units it lacks join it, up to 18. Recall: the group's
// units become the selection, in group order. Each is ignored for a group
// number outside 0..9.
void StoreControlGroup(TGame& game, int g);
void AppendToControlGroup(TGame& game, int g);
void RecallControlGroup(TGame& game, int g);
