#include "net/FNetGame.h"

#include "game/FEffects.h"
#include "game/FGame.h"
#include "game/FOrders.h"
#include "game/FRequests.h"
#include "game/FUnit.h"
#include "game/FUnitLoad.h"
#include "net/FGameMessages.h"
#include "net/FServer.h"
#include "net/FTransmit.h"
#include "shell/FLogs.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

class TLanRoute : public TGameRoute {
public:
    void toServer(const void* data, std::size_t length) override { sendDatagram(ServerAddress, data, length); }
    void toSlots(const void* data, std::size_t length, int first) override { sendToSlots(data, length, first); }
    void toSlot(int slot, const void* data, std::size_t length) override
    {
        if (const TClient* client = Clients.at(slot))
            sendDatagram(client->address, data, length);
    }
    int slotCount() const override { return Clients.count; }
    int slotOf(const std::string& sender) const override { return slotOfAddress(sender); }
    bool fromServer(const std::string& sender) const override { return sender == ServerAddress; }
};

void refuse(const TPacket& packet, const std::string& why)
{
    logLine(std::string("Refused ") + messageName(packet.kind()) + " from " + packet.sender + ": " + why);
}

// The slot a request came from, when it may act for `player`: the host's own
// machine acts for anyone, every other slot for its own player only.
bool actsFor(TGameRoute& route, const TPacket& packet, std::int32_t player, const std::string& what)
{
    const int slot = route.slotOf(packet.sender);
    if (slot == 0)
        return true;
    if (slot < 0) {
        refuse(packet, "not a player of this game");
        return false;
    }
    if (slot + 1 != player) {
        refuse(packet, what + " of player " + std::to_string(player) + ", not of player " +
                           std::to_string(slot + 1));
        return false;
    }
    return true;
}

bool hostOnly(TGame& game, const TPacket& packet)
{
    if (game.hosting)
        return true;
    refuse(packet, "only the host settles requests");
    return false;
}

bool fromHost(TGame& game, TGameRoute& route, const TPacket& packet)
{
    if (!route.fromServer(packet.sender)) {
        refuse(packet, "only the host sends it");
        return false;
    }
    return !game.hosting || route.slotOf(packet.sender) == 0;
}

int upgradeIndex(const TUpgrade& upgrade)
{
    for (std::size_t i = 0; i < Upgrades.size(); ++i)
        if (&Upgrades[i] == &upgrade)
            return static_cast<int>(i);
    return -1;
}

const TUpgrade* upgradeAt(std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= Upgrades.size())
        return nullptr;
    return &Upgrades[static_cast<std::size_t>(index)];
}

void onBuildRequest(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TBuildRequest>(packet.data);
    if (!m || !hostOnly(game, packet))
        return;
    const TUnitRequest request = DecodeUnitRequest(*m);
    if (request.typeIndex < 0 || static_cast<std::size_t>(request.typeIndex) >= UnitTypes.size()) {
        refuse(packet, "no unit type " + std::to_string(request.typeIndex));
        return;
    }
    if (!actsFor(route, packet, request.owner, "a unit"))
        return;
    if (request.builderId != -1) {
        const TUnit* builder = FindUnitById(game, request.builderId);
        if (builder && builder->owner != request.owner) {
            refuse(packet, "builder " + std::to_string(request.builderId) + " belongs to player " +
                               std::to_string(builder->owner));
            return;
        }
    }
    if (!HostCreateUnit(game, request))
        logLine("BuildRequest from " + packet.sender + " for type " + std::to_string(request.typeIndex) + " at (" +
                std::to_string(request.x) + ", " + std::to_string(request.y) + ") not built: no room, or the purse is short");
}

void onUnitCreated(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TUnitCreatedMessage>(packet.data);
    if (!m || !fromHost(game, route, packet))
        return;
    TUnitCreated created;
    created.request = DecodeUnitRequest(*m);
    created.unitNumber = m->unitId;
    ApplyUnitCreated(game, created);
}

// The host carries out a player's order, cast or Defend key.
void executeOrder(TGame& game, TGameRoute& route, const TPacket& packet, const TUnitOrder& m)
{
    TUnit* unit = FindUnitById(game, m.unitId);
    if (!unit) {
        logLine("Error FReceive line 123");
        logLine("Error FReceive line 124");
        return;
    }
    if (!actsFor(route, packet, unit->owner, "unit " + std::to_string(m.unitId)))
        return;
    if (m.order == OrderKind::Cast) {
        if (m.x == DefendKeySlot) {
            ToggleDefend(game, *unit);
            return;
        }
        TUnit* target = FindUnitById(game, m.targetId);
        if (!target) {
            refuse(packet, "no target " + std::to_string(m.targetId));
            return;
        }
        CastAbility(game, *unit, *target, m.x);
        return;
    }
    if (m.order >= OrderKind::Count) {
        logLine("Unknown order !");
        refuse(packet, "order kind " + std::to_string(m.order));
        return;
    }
    Torder order;
    switch (m.order) {
    case OrderKind::Idle: logLine("STOP order"); break;
    case OrderKind::HoldPosition:
        logLine("HOLDPOS order");
        order.kind = OrderKind::HoldPosition;
        break;
    case OrderKind::MoveTo:
    case OrderKind::AttackMove:
    case OrderKind::Patrol:
        if (m.x < 0 || m.x >= MapCells || m.y < 0 || m.y >= MapCells) {
            refuse(packet, "cell (" + std::to_string(m.x) + ", " + std::to_string(m.y) + ") is off the map");
            return;
        }
        logLine("Executing MOVETO, ATTACKTO OR PATROL");
        order = Torder::ToCell(m.order, m.x, m.y);
        break;
    default: {
        logLine("Executing FOLLOW, ATTACK OR REPAIR");
        TUnit* target = FindUnitById(game, m.targetId);
        if (!target) {
            logLine("Error FReceive line 116");
            return;
        }
        order = Torder::OnUnit(m.order, target);
        break;
    }
    }
    OrderUnit(game, *unit, order, m.queue == 1);
}

void onUnitOrder(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TUnitOrder>(packet.data);
    if (!m)
        return;
    if (game.hosting) {
        executeOrder(game, route, packet, *m);
        return;
    }
    // A joiner hears orders only as the host's word on who went in or out of a building.
    if (!fromHost(game, route, packet))
        return;
    if (m->order != OrderKind::Enter && m->order != OrderKind::Leave) {
        refuse(packet, "order kind " + std::to_string(m->order) + " for a joiner");
        return;
    }
    TUnit* unit = FindUnitById(game, m->unitId);
    TUnit* building = FindUnitById(game, m->targetId);
    if (unit && building)
        ApplyEntry(game, *unit, *building, m->order == OrderKind::Enter);
}

void onUnitDamage(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TUnitDamage>(packet.data);
    if (!m || !fromHost(game, route, packet))
        return;
    TUnit* unit = FindUnitById(game, m->unitId);
    if (!unit)
        return;
    TakeDamage(game, *unit, m->hitPoints);
    logLine("Unit " + std::to_string(m->unitId) + " has lost " + std::to_string(m->hitPoints) + " HP");
}

void onDamageRequest(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TDamageRequest>(packet.data);
    if (!m || !hostOnly(game, packet))
        return;
    const TUnit* unit = FindUnitById(game, m->unitId);
    if (!unit) {
        refuse(packet, "no unit " + std::to_string(m->unitId));
        return;
    }
    if (!actsFor(route, packet, unit->owner, "unit " + std::to_string(m->unitId)))
        return;
    auto damage = MakeRecord<TUnitDamage>(KindUnitDamage, 0);
    damage.unitId = m->unitId;
    damage.hitPoints = m->hitPoints;
    route.toSlots(&damage, sizeof damage, 0);
}

void onResearch(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TResearch>(packet.data);
    if (!m)
        return;
    const TUpgrade* upgrade = upgradeAt(m->upgrade);
    if (!upgrade || m->player < 1 || m->player > MaxPlayers) {
        refuse(packet, "no upgrade " + std::to_string(m->upgrade) + " for player " + std::to_string(m->player));
        return;
    }
    if (game.hosting) {
        if (actsFor(route, packet, m->player, "research") && ResearchUpgrade(game, m->player, *upgrade) &&
            game.link)
            game.link->SendResearch(m->player, *upgrade);
        return;
    }
    if (fromHost(game, route, packet))
        ApplyUpgrade(game, m->player, *upgrade);
}

void onResources(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TResources>(packet.data);
    if (!m || !fromHost(game, route, packet) || game.hosting)
        return;
    TGamePlayer& player = game.localPlayerRecord();
    player.gold = m->gold;
    player.wood = m->wood;
}

void onUnitState(TGame& game, TGameRoute& route, const TPacket& packet)
{
    const auto m = ReadRecord<TUnitState>(packet.data);
    if (!m || !fromHost(game, route, packet) || game.hosting)
        return;
    ApplyUnitUpdate(game, DecodeUnitState(*m));
}

// The machine's own game and its link, once the game has started.
struct TNetGame {
    TGame* game = nullptr;
    std::unique_ptr<TNetGameLink> link;
    std::vector<TPacket> early;  // game messages that came before the game
};
TNetGame Net;

constexpr std::size_t EarlyCapacity = 1024;
constexpr std::int32_t NoSpellSlot = -2;  // a cast order whose spell the caster does not hold: refused by the host

}  // namespace

TGameRoute& LanRoute()
{
    static TLanRoute route;
    return route;
}

void TNetGameLink::SendUnitUpdate(const TUnitUpdate& update)
{
    const TUnitState m = EncodeUnitState(update);
    route_.toSlots(&m, sizeof m, 1);
}

void TNetGameLink::RequestUnit(const TUnitRequest& request)
{
    const TBuildRequest m = EncodeUnitRequest(KindBuildRequest, game_.totalTime, request, 0);
    route_.toServer(&m, sizeof m);
}

void TNetGameLink::SendUnitCreated(const TUnitCreated& created)
{
    const TBuildRequest m = EncodeUnitRequest(KindUnitCreated, game_.totalTime, created.request, created.unitNumber);
    route_.toSlots(&m, sizeof m, 0);
}

void TNetGameLink::RepeatUnitCreated(const TUnitCreated& created)
{
    const TBuildRequest m = EncodeUnitRequest(KindUnitCreated, game_.totalTime, created.request, created.unitNumber);
    route_.toSlots(&m, sizeof m, 1);
}

void TNetGameLink::SendOrder(std::int32_t unitNumber, const Torder& order, bool queued)
{
    std::int32_t x = order.goalX, y = order.goalY;
    std::int32_t target = order.target ? order.target->unitNumber : 0;
    if (order.kind == OrderKind::Cast) {
        // A cast order names its spell by the slot that holds it.
        const TUnit* unit = FindUnitById(game_, unitNumber);
        x = NoSpellSlot;
        for (std::size_t i = 0; unit && i < unit->spells.size(); ++i)
            if (unit->spells[i].ability == order.ability)
                x = static_cast<std::int32_t>(i);
        if (!order.target)
            target = unitNumber;
    }
    logLine("Sending data");
    const TUnitOrder m = EncodeOrder(KindUnitOrder, game_.totalTime, unitNumber, order.kind, x, y, target, queued);
    route_.toServer(&m, sizeof m);
}

void TNetGameLink::SendResources(const TGame& game)
{
    // Income changes the purses every tick while workers mine: one report per
    // 100 ms is enough, and the next change brings the latest.
    if (game.totalTime - lastResources_ < ResourcesGap && game.totalTime >= lastResources_)
        return;
    lastResources_ = game.totalTime;
    for (int slot = 1; slot < route_.slotCount(); ++slot) {
        auto m = MakeRecord<TResources>(KindResources, game.totalTime);
        if (slot >= MaxPlayers)
            break;
        const TGamePlayer& player = game.players[static_cast<std::size_t>(slot)];  // player slot + 1
        m.gold = player.gold;
        m.wood = player.wood;
        route_.toSlot(slot, &m, sizeof m);
    }
}

void TNetGameLink::SendCast(std::int32_t casterNumber, std::int32_t targetNumber, int slot)
{
    logLine("Sending data");
    const TUnitOrder m =
        EncodeOrder(KindUnitOrder, game_.totalTime, casterNumber, OrderKind::Cast, slot, 0, targetNumber, false);
    route_.toServer(&m, sizeof m);
}

void TNetGameLink::SendDefend(std::int32_t unitNumber)
{
    logLine("Sending data");
    const TUnitOrder m =
        EncodeOrder(KindUnitOrder, game_.totalTime, unitNumber, OrderKind::Cast, DefendKeySlot, 0, unitNumber, false);
    route_.toServer(&m, sizeof m);
}

void TNetGameLink::SendResearch(std::int32_t player, const TUpgrade& upgrade)
{
    auto m = MakeRecord<TResearch>(KindResearch, game_.totalTime);
    m.player = player;
    m.upgrade = upgradeIndex(upgrade);
    if (game_.hosting)
        route_.toSlots(&m, sizeof m, 1);
    else
        route_.toServer(&m, sizeof m);
}

void TNetGameLink::SendDamageRequest(std::int32_t unitNumber, double amount)
{
    auto m = MakeRecord<TDamageRequest>(KindDamageRequest, 0);
    m.unitId = unitNumber;
    m.hitPoints = static_cast<std::int32_t>(std::lround(amount));
    route_.toServer(&m, sizeof m);
}

void TNetGameLink::SendEntry(std::int32_t unitNumber, std::int32_t buildingNumber, bool inside)
{
    const TUnitOrder m = EncodeOrder(KindUnitOrder, game_.totalTime, unitNumber,
                                     inside ? OrderKind::Enter : OrderKind::Leave, 0, 0, buildingNumber, false);
    route_.toSlots(&m, sizeof m, 1);
}

void HandleGameMessage(TGame& game, TGameRoute& route, const TPacket& packet)
{
    switch (packet.kind()) {
    case KindBuildRequest: onBuildRequest(game, route, packet); break;
    case KindUnitCreated: onUnitCreated(game, route, packet); break;
    case KindUnitOrder:
    case KindOrderBroadcast:
        // Nothing here sends OrderBroadcast: it is read as what it meant, an order for the host.
        onUnitOrder(game, route, packet);
        break;
    case KindUnitDamage: onUnitDamage(game, route, packet); break;
    case KindDamageRequest: onDamageRequest(game, route, packet); break;
    case KindResearch: onResearch(game, route, packet); break;
    case KindResources: onResources(game, route, packet); break;
    case KindUnitState: onUnitState(game, route, packet); break;
    default: break;
    }
}

void NetGameWait()
{
    Net = TNetGame{};
    GameMessageHandler = [](const TPacket& packet) {
        if (Net.game) {
            HandleGameMessage(*Net.game, LanRoute(), packet);
        } else if (Net.early.size() < EarlyCapacity) {
            Net.early.push_back(packet);
        } else {
            logLine(std::string("Dropped ") + messageName(packet.kind()) + " from " + packet.sender +
                    ": no game yet");
        }
    };
}

void NetGameStart(TGame& game)
{
    Net.link = std::make_unique<TNetGameLink>(game, LanRoute());
    game.link = Net.link.get();
    // What came early is handled at the first dispatch, after the map has placed its units.
    GameMessageHandler = [&game](const TPacket& packet) {
        if (!Net.game) {
            Net.game = &game;
            const std::vector<TPacket> early = std::move(Net.early);
            Net.early.clear();
            for (const TPacket& waiting : early)
                HandleGameMessage(game, LanRoute(), waiting);
        }
        HandleGameMessage(game, LanRoute(), packet);
    };
}
