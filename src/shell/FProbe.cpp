#include "shell/FProbe.h"

#include "game/FEffects.h"
#include "game/FGame.h"
#include "game/FOrders.h"
#include "game/FReports.h"
#include "game/FRequests.h"
#include "game/FUnitLoad.h"
#include "net/FTransmit.h"
#include "platform/Files.h"
#include "script/FLua.h"
#include "shell/FLogs.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

struct TProbe {
    std::string folder;  // empty: off
    std::size_t commandsRead = 0;
    std::int64_t lastTable = -1000000;
    std::int64_t lastPoll = -1000000;
    std::int32_t tables = 0;
    bool draws = true;
};
TProbe Probe;

constexpr std::int64_t TableEvery = 1000;  // ms of game clock
constexpr std::int64_t PollEvery = 50;     // ms

std::vector<std::uint8_t> fromHex(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

bool needGame(TGame* game, const std::string& line)
{
    if (!game)
        log("Probe: no game yet for: " + line, LogWarning);
    return game != nullptr;
}

TUnit* unitOf(TGame& game, std::int32_t id, const std::string& line)
{
    TUnit* unit = FindUnitById(game, id);
    if (!unit)
        log("Probe: no unit " + std::to_string(id) + " for: " + line, LogWarning);
    return unit;
}

}  // namespace

void probeStart()
{
    Probe = TProbe{};
    if (const char* folder = std::getenv("VRAX_PROBE"))
        Probe.folder = folder;
    if (const char* draw = std::getenv("VRAX_DRAW"))
        Probe.draws = std::string(draw) != "0";
    if (!Probe.draws)
        logLine("Drawing nothing (VRAX_DRAW=0)");
    if (!Probe.folder.empty())
        logLine("Probe: writing to " + Probe.folder);
}

bool probeOn()
{
    return !Probe.folder.empty();
}

bool probeDraws()
{
    return Probe.draws;
}

std::string probeTable(const TGame& game)
{
    std::ostringstream out;
    const bool player = game.localPlayer >= 1 && game.localPlayer <= MaxPlayers;
    const TGamePlayer& own = player ? game.players[static_cast<std::size_t>(game.localPlayer - 1)] : game.nobody;
    out << "game tick " << game.tick << " clock " << game.totalTime << " player " << game.localPlayer << " hosting "
        << game.hosting << " gold " << std::llround(own.gold) << " wood " << std::llround(own.wood) << " units "
        << game.units.size() << "\n";
    for (int p = 1; p <= MaxPlayers; ++p)
        for (const TUpgrade* upgrade : game.researchedUpgrades[static_cast<std::size_t>(p - 1)])
            out << "researched " << p << " " << upgrade->name << "\n";
    for (const std::unique_ptr<TUnit>& u : game.units) {
        out << "unit " << u->listIndex << " id " << u->unitNumber << " type " << UnitTypeIndex(u->unitType)
            << " owner " << u->owner << " cell " << u->cellX << " " << u->cellY << " pos "
            << u->position[0] / WorldScale << " " << u->position[1] / WorldScale << " hp " << std::llround(u->hp)
            << " mp " << std::llround(u->mp) << " stats " << u->maxHp << " " << u->maxMp << " " << u->damage << " "
            << u->defense << " " << u->speed << " " << u->atkSpeed << " " << u->atkRange << " " << u->scale
            << " alive " << u->alive << " outside " << u->outside << " building " << u->underConstruction
            << " order " << static_cast<int>(u->currentOrder.kind) << " effects " << u->effects.size();
        for (const TEffectRecord& e : u->effects)
            out << " " << (e.ability ? e.ability->id : 0);
        out << "\n";
    }
    return out.str();
}

bool probeCommand(TGame* game, const std::string& line)
{
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    logLine("Probe: " + line);
    if (verb == "lua") {
        std::string rest;
        std::getline(in, rest);
        runString(rest);
        return true;
    }
    if (verb == "datagram") {
        std::string address, hex;
        in >> address >> hex;
        const std::vector<std::uint8_t> bytes = fromHex(hex);
        sendDatagram(address, bytes.data(), bytes.size());
        return true;
    }
    if (verb.empty() || !needGame(game, line))
        return false;
    TGame& g = *game;
    if (verb == "order") {
        std::int32_t id = 0, kind = 0, x = 0, y = 0, target = 0, queued = 0;
        in >> id >> kind >> x >> y >> target >> queued;
        TUnit* unit = unitOf(g, id, line);
        if (!unit)
            return false;
        Torder order = Torder::ToCell(static_cast<std::uint8_t>(kind), x, y);
        if (TargetsUnit(order.kind)) {
            order.target = unitOf(g, target, line);
            if (!order.target)
                return false;
        }
        OrderUnit(g, *unit, order, queued != 0);
        return true;
    }
    if (verb == "cast") {
        std::int32_t caster = 0, target = 0, slot = 0;
        in >> caster >> target >> slot;
        TUnit* c = unitOf(g, caster, line);
        TUnit* t = unitOf(g, target, line);
        return c && t && RequestCast(g, *c, *t, slot);
    }
    if (verb == "defend") {
        std::int32_t id = 0;
        in >> id;
        TUnit* unit = unitOf(g, id, line);
        if (unit)
            RequestDefend(g, *unit);
        return unit != nullptr;
    }
    if (verb == "research") {
        std::size_t index = 0;
        in >> index;
        return index < Upgrades.size() && RequestResearch(g, Upgrades[index]);
    }
    if (verb == "damage") {
        std::int32_t id = 0;
        double amount = 0;
        in >> id >> amount;
        TUnit* unit = unitOf(g, id, line);
        if (unit)
            RequestDamage(g, *unit, amount);
        return unit != nullptr;
    }
    if (verb == "build") {
        TUnitRequest request;
        std::int64_t cx = 0, cy = 0;
        in >> request.typeIndex >> cx >> cy >> request.builderId;
        request.x = cx * CellSize;
        request.y = cy * CellSize;
        request.owner = g.localPlayer;
        RequestUnit(g, request);
        return true;
    }
    log("Probe: not understood: " + line, LogWarning);
    return false;
}

void probeFrame(TGame* game, std::int64_t wallClock)
{
    if (Probe.folder.empty() || wallClock - Probe.lastPoll < PollEvery)
        return;
    Probe.lastPoll = wallClock;
    if (const std::optional<std::string> text = platform::readTextFile(Probe.folder + "/commands.txt")) {
        // Whole lines only: a line still being written waits for its end.
        while (Probe.commandsRead < text->size()) {
            const std::size_t end = text->find('\n', Probe.commandsRead);
            if (end == std::string::npos)
                break;
            std::string line = text->substr(Probe.commandsRead, end - Probe.commandsRead);
            Probe.commandsRead = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty())
                probeCommand(game, line);
        }
    }
    // Each second of game clock: machines whose clocks agree write their
    // tables at the same moment of the game, so a test can compare them.
    if (game && game->totalTime / TableEvery != Probe.lastTable) {
        Probe.lastTable = game->totalTime / TableEvery;
        Probe.tables += 1;
        platform::replaceTextFile(Probe.folder + "/units.txt",
                                  "table " + std::to_string(Probe.tables) + "\n" + probeTable(*game));
    }
}
