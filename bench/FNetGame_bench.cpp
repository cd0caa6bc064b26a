// The host's stream of unit state with 300 walking units and seven joiners,
// and a joiner taking the same stream in. Each host iteration is one
// broadcast (30 ms of game clock): the reports of every unit, encoded and
// handed to the endpoint once per joiner; the endpoint is a fake that only
// counts (no socket, no log line). The joiner applies one broadcast's
// datagrams to its own copy of the 300 units. The baseline in the same run
// copies the same datagrams into a buffer, as a send path with nothing to
// work out would. Counters: UnitState datagrams a second of game, and the
// share of one core the work takes at that rate.
#include "GameFolder.h"

#include "game/FGame.h"
#include "game/FOrders.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "net/FNetGame.h"
#include "net/FNetwork.h"
#include "net/FServer.h"
#include "shell/FConfig.h"
#include "world/FLoadMap.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr int Walkers = 300;
constexpr int Joiners = 7;
constexpr double BroadcastsPerSecond = 1000.0 / 30.0;

// Counts what the network would send, and keeps what goes to the first joiner.
class CountingNetwork : public TNetwork {
public:
    std::int64_t datagrams = 0, bytes = 0;
    std::vector<std::vector<std::uint8_t>> toFirstJoiner;
    bool keep = false;

    long receive(std::uint8_t*, std::string&) override { return -1; }
    void sendTo(const std::string& address, const void* data, std::size_t length) override
    {
        datagrams += 1;
        bytes += static_cast<std::int64_t>(length);
        if (keep && address == "10.0.0.2") {
            const auto* b = static_cast<const std::uint8_t*>(data);
            toFirstJoiner.emplace_back(b, b + length);
        }
    }
    void broadcast(const void*, std::size_t) override {}
    void close() override {}
    bool open() const override { return true; }
    std::uint16_t port() const override { return NetPort; }
};

// The joiner's view of where a datagram came from: the host, always.
class FromHost : public TGameRoute {
public:
    void toServer(const void*, std::size_t) override {}
    void toSlots(const void*, std::size_t, int) override {}
    void toSlot(int, const void*, std::size_t) override {}
    int slotCount() const override { return 1; }
    int slotOf(const std::string&) const override { return -1; }
    bool fromServer(const std::string&) const override { return true; }
};

struct Match {
    BenchGameFolder folder{"vrax-bench-netgame"};
    CountingNetwork* network = nullptr;
    TGame host, joiner;
    std::unique_ptr<TNetGameLink> link;
    std::int64_t clock = 0;
    bool ok = false;

    Match()
    {
        ResetDefinitions();
        if (!LoadDefinitions("Data"))
            return;
        auto endpoint = std::make_unique<CountingNetwork>();
        network = endpoint.get();
        networkStart(TConfig("Vrax.cfg"), std::move(endpoint));
        for (int j = 1; j <= Joiners; ++j)
            join("10.0.0." + std::to_string(j + 1), "Joiner", 1, 0, j);
        InitGame(host, 1, true);
        InitGame(joiner, 2, false);
        link = std::make_unique<TNetGameLink>(host, LanRoute());
        host.link = link.get();
        const TUnitAttributes& spearman = UnitTypes[2];
        for (int k = 0; k < Walkers; ++k) {
            const std::int32_t x = (40 + (k % 20) * 8) * CellSize, y = (40 + (k / 20) * 8) * CellSize;
            // One player's: soldiers of two players side by side would fight instead of walking.
            CreateUnit(host, spearman, x, y, 1, k);
            CreateUnit(joiner, spearman, x, y, 1, k);
        }
        ok = true;
    }
    ~Match()
    {
        Network.reset();
        GameMessageHandler = nullptr;
        ResetDefinitions();
    }

    // Every unit that stands gets a far cell to walk to.
    void keepWalking()
    {
        for (const std::unique_ptr<TUnit>& u : host.units)
            if (u->idle && u->currentOrder.kind == OrderKind::Idle)
                GiveOrder(host, *u, Torder::ToCell(OrderKind::MoveTo, u->cellX < 240 ? 440 : 30, u->cellY));
    }
    // 30 ms of game: three frames of the rules, the last one ready to broadcast.
    void play()
    {
        keepWalking();
        for (int f = 0; f < 3; ++f) {
            clock += 10;
            UpdateGame(host, clock, 10);
        }
    }
};

void BM_HostSendsUnitStates(benchmark::State& bench)
{
    Match match;
    if (!match.ok) {
        bench.SkipWithError("no game data");
        return;
    }
    for (int i = 0; i < 10; ++i)
        match.play();
    std::int64_t datagrams = 0;
    std::chrono::duration<double> busy{0};
    for (auto _ : bench) {
        bench.PauseTiming();
        match.play();
        const std::int64_t before = match.network->datagrams;
        bench.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        BroadcastUnitStates(match.host, match.clock);
        busy += std::chrono::steady_clock::now() - start;
        datagrams += match.network->datagrams - before;
    }
    const double perBroadcast = static_cast<double>(datagrams) / static_cast<double>(bench.iterations());
    bench.counters["datagrams/s"] = perBroadcast * BroadcastsPerSecond;
    bench.counters["core%"] = 100.0 * busy.count() / static_cast<double>(bench.iterations()) * BroadcastsPerSecond;
    bench.SetItemsProcessed(datagrams);
}
BENCHMARK(BM_HostSendsUnitStates)->Unit(benchmark::kMicrosecond);

// One broadcast's datagrams for the first joiner, as the host sends them.
std::vector<TPacket> oneBroadcast(Match& match)
{
    for (int i = 0; i < 10; ++i)
        match.play();
    match.network->keep = true;
    match.network->toFirstJoiner.clear();
    BroadcastUnitStates(match.host, match.clock);
    match.network->keep = false;
    std::vector<TPacket> packets;
    for (const std::vector<std::uint8_t>& d : match.network->toFirstJoiner) {
        TPacket p;
        p.data = d;
        p.sender = "10.0.0.1";
        std::memcpy(&p.stamp, d.data() + 4, sizeof p.stamp);
        packets.push_back(std::move(p));
    }
    return packets;
}

void BM_JoinerAppliesUnitStates(benchmark::State& bench)
{
    Match match;
    if (!match.ok) {
        bench.SkipWithError("no game data");
        return;
    }
    const std::vector<TPacket> packets = oneBroadcast(match);
    FromHost route;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : bench)
        for (const TPacket& p : packets)
            HandleGameMessage(match.joiner, route, p);
    const std::chrono::duration<double> busy = std::chrono::steady_clock::now() - start;
    bench.counters["datagrams/s"] = static_cast<double>(packets.size()) * BroadcastsPerSecond;
    bench.counters["core%"] = 100.0 * busy.count() / static_cast<double>(bench.iterations()) * BroadcastsPerSecond;
    bench.SetItemsProcessed(bench.iterations() * static_cast<std::int64_t>(packets.size()));
}
BENCHMARK(BM_JoinerAppliesUnitStates)->Unit(benchmark::kMicrosecond);

// The baseline: the same bytes copied whole, datagram by datagram, once for every joiner.
void BM_CopyTheStreamAlone(benchmark::State& bench)
{
    Match match;
    if (!match.ok) {
        bench.SkipWithError("no game data");
        return;
    }
    const std::vector<TPacket> packets = oneBroadcast(match);
    std::vector<std::uint8_t> buffer(MaxDatagram);
    for (auto _ : bench)
        for (int j = 0; j < Joiners; ++j)
            for (const TPacket& p : packets) {
                std::memcpy(buffer.data(), p.data.data(), p.data.size());
                benchmark::DoNotOptimize(buffer.data());
            }
    bench.SetItemsProcessed(bench.iterations() * Joiners * static_cast<std::int64_t>(packets.size()));
}
BENCHMARK(BM_CopyTheStreamAlone)->Unit(benchmark::kMicrosecond);

}  // namespace
