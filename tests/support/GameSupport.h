// Helpers for the tests of the game's rules: small unit types written by the
// test itself, a game set up in a scratch folder, frames of a fixed length,
// and a link that records what the host reports.
#pragma once

#include "TestSupport.h"
#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A plain infantry type: 100 hp, damage 10 every 10 ticks, speed 10, size 4.
inline TUnitAttributes soldierType(const std::string& name = "Soldier")
{
    TUnitAttributes t;
    t.name = name;
    t.type = UnitKind::Infrantry;
    t.hp = 100;
    t.damage = 10;
    t.atkSpeed = 10;
    t.speed = 10;
    t.size = 4;
    t.hpRegen = 0;
    t.aggressivity = Aggressivity::Neither;
    return t;
}

// Appends a type to the shared table; its index.
inline int addType(const TUnitAttributes& type)
{
    UnitTypes.push_back(type);
    return static_cast<int>(UnitTypes.size() - 1);
}

inline const TUnitAttributes& typeAt(int index)
{
    return UnitTypes[static_cast<std::size_t>(index)];
}

// A game in a scratch folder, with empty tables, its clock at 0.
class GameTest {
public:
    ScratchDir dir;
    TGame game;
    std::int64_t clock = 0;

    explicit GameTest(std::int32_t localPlayer = 1, bool hosting = true)
    {
        startLog();
        ResetDefinitions();
        InitGame(game, localPlayer, hosting);
    }
    ~GameTest() { ResetDefinitions(); }

    // A unit of that type on cell (x, y), with a number from the host's counter.
    TUnit& unitAt(int typeIndex, int x, int y, std::int32_t owner = 1)
    {
        return CreateUnit(game, typeAt(typeIndex), x * 16, y * 16, owner, game.nextUnitId++);
    }
    // Frames of `ms` each (at most 100 counts as frame time), reports and rules.
    void frames(int count, int ms = 10)
    {
        for (int i = 0; i < count; ++i) {
            clock += ms;
            BroadcastUnitStates(game, clock);
            UpdateGame(game, clock, ms);
        }
    }
    bool logHas(const std::string& text) const
    {
        for (const std::string& line : readLines("Logs/log.txt"))
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
};

// Keeps every update, request and order the rules hand to the network.
class RecordingLink : public TGameLink {
public:
    std::vector<TUnitUpdate> updates;
    std::vector<TUnitRequest> requests;
    std::vector<TUnitCreated> created;
    std::vector<Torder> orders;
    std::vector<std::int32_t> casts, defends, damaged;  // caster or unit numbers
    std::vector<const TUpgrade*> researched;

    void SendUnitUpdate(const TUnitUpdate& update) override { updates.push_back(update); }
    void RequestUnit(const TUnitRequest& request) override { requests.push_back(request); }
    void SendUnitCreated(const TUnitCreated& c) override { created.push_back(c); }
    void SendOrder(std::int32_t, const Torder& order, bool) override { orders.push_back(order); }
    void SendCast(std::int32_t caster, std::int32_t, int) override { casts.push_back(caster); }
    void SendDefend(std::int32_t unit) override { defends.push_back(unit); }
    void SendResearch(std::int32_t, const TUpgrade& upgrade) override { researched.push_back(&upgrade); }
    void SendDamageRequest(std::int32_t unit, double) override { damaged.push_back(unit); }

    std::vector<TUnitUpdate> ofKind(std::uint32_t mask) const
    {
        std::vector<TUnitUpdate> out;
        for (const TUnitUpdate& u : updates)
            if (u.mask == mask)
                out.push_back(u);
        return out;
    }
};

}  // namespace testing_support
