// How many 187-byte unit-state messages a frame can take in: the engine's
// receive step and dispatch (queue entry, stamp order, checks, handler) against
// the bare socket reads they are built on, both over loopback in one run.
#include "net/FNetwork.h"
#include "net/FReceive.h"
#include "net/FUdpNetwork.h"
#include "platform/UdpSocket.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

namespace {

constexpr int Batch = 128;  // well inside the default socket buffer

struct LoopbackMachine {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vrax-bench-net";
    int sender = -1;
    TUnitState state{};

    LoopbackMachine()
    {
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        startLog();
        TNetworkOptions options;
        options.bindAddress = "127.0.0.1";
        options.port = 0;
        options.broadcastAddress = "127.0.0.1";
        networkStart(TConfig((dir / "Vrax.cfg").string()), std::make_unique<TUdpNetwork>(options));
        std::string reason;
        sender = platform::udpCreate(reason);
        platform::udpBind(sender, "127.0.0.2", Network->port(), reason);
        state.header = TPacketHeader{KindUnitState, 0};
        state.updateMask = 4;
        FrameClock.totalTime = 1'000'000;
    }
    ~LoopbackMachine()
    {
        platform::udpClose(sender);
        Network.reset();
        GameMessageHandler = nullptr;
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    void sendBatch()
    {
        std::string reason;
        for (int i = 0; i < Batch; ++i) {
            state.unitIndex = i;
            platform::udpSendTo(sender, "127.0.0.1", Network->port(), &state, sizeof state, reason);
        }
    }
};

void BM_ReceiveAndDispatchUnitStates(benchmark::State& bench)
{
    LoopbackMachine machine;
    std::int64_t handled = 0;
    GameMessageHandler = [&handled](const TPacket&) { ++handled; };
    for (auto _ : bench) {
        bench.PauseTiming();
        machine.sendBatch();
        bench.ResumeTiming();
        networkFrame();
    }
    bench.SetItemsProcessed(handled);
    bench.counters["lost"] = static_cast<double>(bench.iterations() * Batch - handled);
}
BENCHMARK(BM_ReceiveAndDispatchUnitStates);

void BM_SocketReadsAlone(benchmark::State& bench)
{
    LoopbackMachine machine;
    std::string reason;
    std::string from;
    std::uint8_t buffer[MaxDatagram];
    std::int64_t read = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        machine.sendBatch();
        bench.ResumeTiming();
        // The same reads the receive step makes, straight from the endpoint's socket.
        while (Network->receive(buffer, from) >= 0)
            ++read;
    }
    bench.SetItemsProcessed(read);
    bench.counters["lost"] = static_cast<double>(bench.iterations() * Batch - read);
}
BENCHMARK(BM_SocketReadsAlone);

}  // namespace
