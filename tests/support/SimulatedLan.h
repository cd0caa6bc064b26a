// Several machines' games in one process over a simulated LAN: each machine
// has its TGame, its link and its route, and every datagram a route sends is
// delivered to the destination's HandleGameMessage after a delay, or lost.
// Machine 0 hosts at "10.0.0.1"; machine i is "10.0.0.(i+1)", player i + 1.
#pragma once

#include "game/FGame.h"
#include "game/FReports.h"
#include "net/FNetGame.h"
#include "world/FLoadMap.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace testing_support {

class SimulatedLan {
public:
    int lossPercent = 0;       // of datagrams between two machines
    int minDelay = 30;         // ms, the receive queue's hold
    int maxDelay = 30;         // ms; above minDelay datagrams overtake each other
    std::int64_t clock = 0;    // the same game clock on every machine
    std::int64_t sent = 0, lost = 0, bytes = 0;
    // Loses the datagrams it is true for, beside the random loss.
    std::function<bool(int from, int to, const std::uint8_t* data, std::size_t length)> loses;

    class Route : public TGameRoute {
    public:
        Route(SimulatedLan& lan, int machine) : lan_(lan), me_(machine) {}
        void toServer(const void* data, std::size_t length) override { lan_.send(me_, 0, data, length); }
        void toSlots(const void* data, std::size_t length, int first) override
        {
            for (int slot = first; slot < slotCount(); ++slot)
                toSlot(slot, data, length);
        }
        void toSlot(int slot, const void* data, std::size_t length) override
        {
            lan_.send(me_, me_ == 0 ? slot : me_, data, length);
        }
        int slotCount() const override { return me_ == 0 ? lan_.count() : 1; }
        int slotOf(const std::string& sender) const override
        {
            if (sender == "127.0.0.1")
                return 0;
            for (int j = 1; me_ == 0 && j < lan_.count(); ++j)
                if (sender == address(j))
                    return j;
            return -1;
        }
        bool fromServer(const std::string& sender) const override
        {
            return sender == (me_ == 0 ? std::string("127.0.0.1") : address(0));
        }

    private:
        SimulatedLan& lan_;
        int me_;
    };

    struct Machine {
        std::unique_ptr<TGame> game = std::make_unique<TGame>();
        std::unique_ptr<Route> route;
        std::unique_ptr<TNetGameLink> link;
    };
    std::vector<Machine> machines;

    explicit SimulatedLan(int count, unsigned seed = 7) : random_(seed)
    {
        for (int i = 0; i < count; ++i) {
            Machine m;
            InitGame(*m.game, i + 1, i == 0);
            m.route = std::make_unique<Route>(*this, i);
            m.link = std::make_unique<TNetGameLink>(*m.game, *m.route);
            m.game->link = m.link.get();
            m.game->random.seed(seed + static_cast<unsigned>(i));
            machines.push_back(std::move(m));
        }
    }

    static std::string address(int machine) { return "10.0.0." + std::to_string(machine + 1); }
    int count() const { return static_cast<int>(machines.size()); }
    TGame& game(int machine) { return *machines[static_cast<std::size_t>(machine)].game; }

    // Every machine loads the map (its units at once, its starting units asked of the host).
    void loadMap(const std::string& path)
    {
        for (Machine& m : machines)
            LoadMapFile(*m.game, path);
    }

    // Frames of `ms`: the host's reports, the datagrams that have arrived, the rules.
    void frames(int count, int ms = 10)
    {
        for (int f = 0; f < count; ++f) {
            clock += ms;
            BroadcastUnitStates(game(0), clock);
            deliver();
            for (Machine& m : machines)
                UpdateGame(*m.game, clock, ms);
        }
    }
    // Until nothing is in flight.
    void settle()
    {
        while (!flight_.empty())
            frames(1);
    }

    // Sends raw bytes from one machine to another, as a forger would.
    void sendBytes(int from, int to, const void* data, std::size_t length) { send(from, to, data, length); }

private:
    struct InFlight {
        std::int64_t at;
        std::uint64_t order;
        int to;
        TPacket packet;
    };
    std::vector<InFlight> flight_;
    std::uint64_t order_ = 0;
    std::mt19937 random_;

    void send(int from, int to, const void* data, std::size_t length)
    {
        sent += 1;
        bytes += static_cast<std::int64_t>(length);
        if (from != to && (static_cast<int>(random_() % 100) < lossPercent ||
                           (loses && loses(from, to, static_cast<const std::uint8_t*>(data), length)))) {
            lost += 1;
            return;
        }
        InFlight f;
        const int spread = maxDelay - minDelay;
        f.at = clock + minDelay + (spread > 0 ? static_cast<int>(random_() % static_cast<unsigned>(spread + 1)) : 0);
        f.order = order_++;
        f.to = to;
        const auto* b = static_cast<const std::uint8_t*>(data);
        f.packet.data.assign(b, b + length);
        f.packet.sender = from == to ? "127.0.0.1" : address(from);
        std::memcpy(&f.packet.stamp, b + 4, sizeof f.packet.stamp);
        flight_.push_back(std::move(f));
    }

    void deliver()
    {
        // Handling may send more; those wait for a later frame.
        std::vector<InFlight> due;
        std::vector<InFlight> later;
        for (InFlight& f : flight_)
            (f.at <= clock ? due : later).push_back(std::move(f));
        flight_ = std::move(later);
        std::sort(due.begin(), due.end(),
                  [](const InFlight& a, const InFlight& b) { return a.at < b.at || (a.at == b.at && a.order < b.order); });
        for (const InFlight& f : due) {
            Machine& m = machines[static_cast<std::size_t>(f.to)];
            HandleGameMessage(*m.game, *m.route, f.packet);
        }
    }
};

}  // namespace testing_support
