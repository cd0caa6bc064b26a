// FNetGame: one game on every machine. The host alone settles the game: it
// creates every unit, carries out every player's orders, casts, research and
// damage, and streams unit state to the others; every other machine sends its
// player's requests to the host and shows what the host reports. TNetGameLink
// is the rules' link to the network; HandleGameMessage reads the game's
// messages into a machine's game, checking who may ask for what. A route
// carries the bytes: the LAN's client table in the game, another in tests.
#pragma once

#include "game/FReports.h"
#include "net/FReceive.h"

#include <cstddef>
#include <cstdint>
#include <string>

class TGame;

// Where one machine's game messages go, and who sent what it receives.
class TGameRoute {
public:
    virtual ~TGameRoute() = default;
    virtual void toServer(const void* data, std::size_t length) = 0;
    // To every filled slot from `first` on (slot 0 is this machine).
    virtual void toSlots(const void* data, std::size_t length, int first) = 0;
    virtual void toSlot(int slot, const void* data, std::size_t length) = 0;
    virtual int slotCount() const = 0;
    // The sender's slot in this machine's client table (0: itself); -1 when none.
    virtual int slotOf(const std::string& sender) const = 0;
    // Whether the sender is the host this machine plays under.
    virtual bool fromServer(const std::string& sender) const = 0;
};

// The LAN's route: the client table, the server address, the endpoint.
TGameRoute& LanRoute();

class TNetGameLink : public TGameLink {
public:
    TNetGameLink(TGame& game, TGameRoute& route) : game_(game), route_(route) {}
    void SendUnitUpdate(const TUnitUpdate& update) override;
    void RequestUnit(const TUnitRequest& request) override;
    void SendUnitCreated(const TUnitCreated& created) override;
    void SendOrder(std::int32_t unitNumber, const Torder& order, bool queued) override;
    void SendResources(const TGame& game) override;
    void SendCast(std::int32_t casterNumber, std::int32_t targetNumber, int slot) override;
    void SendDefend(std::int32_t unitNumber) override;
    void SendResearch(std::int32_t player, const TUpgrade& upgrade) override;
    void SendDamageRequest(std::int32_t unitNumber, double amount) override;
    void SendEntry(std::int32_t unitNumber, std::int32_t buildingNumber, bool inside) override;
    void RepeatUnitCreated(const TUnitCreated& created) override;

private:
    static constexpr std::int64_t ResourcesGap = 100;  // ms of game clock
    TGame& game_;
    TGameRoute& route_;
    std::int64_t lastResources_ = -1000000;
};

// One game message (unit damage, build requests, unit creation, orders,
// damage requests, research, resources, unit state) read into `game`.
// Refusals are logged with the sender and the reason and never answered.
void HandleGameMessage(TGame& game, TGameRoute& route, const TPacket& packet);

// The network's side of the game start: the game's link over the LAN, and
// the game messages handled on `game` from the next dispatch on (those that
// came before the game existed first, in their order).
void NetGameStart(TGame& game);
// Until a game starts, game messages wait for it (a joiner's requests can
// reach the host a frame before the host's own launch takes effect).
void NetGameWait();
