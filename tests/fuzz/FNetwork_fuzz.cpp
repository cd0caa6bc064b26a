// Random datagrams of every kind and length, from several loopback senders,
// through the receive queue and every handler, on a machine that sometimes
// hosts and sometimes has its menu loaded. Game messages reach a running
// game with units of two players, which plays on after each input. Whatever
// arrives must be logged or handled, never read past its end.
#include "game/FGame.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "interface/FXMLLoader.h"
#include "net/FNetGame.h"
#include "net/FNetwork.h"
#include "net/FReceive.h"
#include "net/FServer.h"
#include "net/FUdpNetwork.h"
#include "script/FLua.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include "FuzzLog.h"
#include "NetworkInput.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const Senders[] = {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"};
bool inGame = false;
TGame* game = nullptr;
// Inputs that kill or remove units leave the next ones less to act on: the
// game starts afresh every so often (not every input, the grid is costly).
constexpr unsigned FreshGameEvery = 64;

// Units of the first types in the table, for players 1 and 2 by turns.
void freshGame()
{
    InitGame(*game, 1, true);
    game->random.seed(0);
    for (std::size_t i = 0; i < UnitTypes.size() && i < 8; ++i)
        CreateUnit(*game, UnitTypes[i], 1600 + 96 * static_cast<std::int64_t>(i), 1600, 1 + static_cast<std::int32_t>(i % 2),
                   static_cast<std::int32_t>(i));
    game->nextUnitId = 8;
}

// Runs in the scratch folder CTest gives it: the log and Vrax.cfg land there.
bool setUp()
{
    startLog();
    TNetworkOptions options;
    options.bindAddress = "127.0.0.1";
    options.port = 0;
    options.broadcastAddress = "127.0.0.1";
    networkStart(TConfig(std::string("Vrax.cfg")), std::make_unique<TUdpNetwork>(options));
    LobbyHooks.listBoxClear = [](const std::string&) {};
    LobbyHooks.addServerList5 = [](const std::string&, const std::string&, int, int, int) {};
    LobbyHooks.addServerList4 = [](const std::string&, const std::string&, int, const std::string&) {};
    LobbyHooks.raiseEvent = [](InterfaceEvent) {};
    if (!LoadDefinitions(VRAX_SOURCE_DIR "/content/Data"))
        __builtin_trap();
    game = new TGame;
    NetGameWait();
    NetGameStart(*game);
    LaunchHooks.inGame = [] { return inGame; };
    LaunchHooks.requestGameStart = [] {};
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = setUp();
    (void)ready;
    static unsigned inputs = 0;
    if (inputs++ % FreshGameEvery == 0)
        freshGame();
    fuzzing::keepLogSmall();
    if (size < 4)
        return 0;
    // Byte 0: kind; byte 1: sender and switches; bytes 2-3: length; the rest: the body after the kind.
    const std::int32_t kind = fuzzing::NetworkKinds[data[0] % fuzzing::NetworkKindCount];
    const std::uint8_t flags = data[1];
    const std::size_t length = (static_cast<std::size_t>(data[2]) | static_cast<std::size_t>(data[3]) << 8) % (MaxDatagram + 1);
    std::vector<std::uint8_t> datagram(length, 0);
    if (length >= 4)
        std::memcpy(datagram.data(), &kind, 4);
    const std::size_t body = std::min(size - 4, length > 4 ? length - 4 : 0);
    if (body > 0)
        std::memcpy(datagram.data() + 4, data + 4, body);

    if (Clients.at(0))
        Clients.at(0)->hosting = flags & fuzzing::SwitchHosting ? 1 : 0;
    InterfaceReady = (flags & fuzzing::SwitchInterfaceReady) != 0;
    inGame = (flags & fuzzing::SwitchInGame) != 0;
    game->hosting = (flags & fuzzing::SwitchHosting) != 0;
    game->localPlayer = game->hosting ? 1 : 2;
    FrameClock.totalTime = std::max<std::int64_t>(FrameClock.totalTime, 1'000'000'000);  // the seeds' stamps are due
    resetReceiveQueue();
    enqueueDatagram(datagram.data(), datagram.size(), Senders[flags & 3]);
    while (dispatchStep()) {
    }
    networkFrame();  // whatever the handlers sent this machine comes back once
    for (int frame = 0; frame < 2; ++frame) {
        FrameClock.totalTime += 10;
        BroadcastUnitStates(*game, FrameClock.totalTime);
        UpdateGame(*game, FrameClock.totalTime, 10);
    }
    return 0;
}
