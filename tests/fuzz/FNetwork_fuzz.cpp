// Random datagrams of every kind and length, from several loopback senders,
// through the receive queue and every handler, on a machine that sometimes
// hosts and sometimes has its menu loaded. Whatever arrives must be logged
// or handled, never read past its end.
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "net/FReceive.h"
#include "net/FServer.h"
#include "net/FUdpNetwork.h"
#include "script/FLua.h"
#include "shell/FConfig.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::int32_t Kinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20, 21, 22, 23, 24, 30, 100, 14, 0};
const char* const Senders[] = {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"};
bool inGame = false;

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
    GameMessageHandler = [](const TPacket&) {};
    LaunchHooks.inGame = [] { return inGame; };
    LaunchHooks.requestGameStart = [] {};
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = setUp();
    static unsigned runs = 0;
    (void)ready;
    if (++runs % 4096 == 0)
        startLog();  // keep the log file small
    if (size < 4)
        return 0;
    // Byte 0: kind; byte 1: sender and switches; bytes 2-3: length; the rest: the body after the kind.
    const std::int32_t kind = Kinds[data[0] % (sizeof Kinds / sizeof Kinds[0])];
    const std::uint8_t flags = data[1];
    const std::size_t length = (static_cast<std::size_t>(data[2]) | static_cast<std::size_t>(data[3]) << 8) % (MaxDatagram + 1);
    std::vector<std::uint8_t> datagram(length, 0);
    if (length >= 4)
        std::memcpy(datagram.data(), &kind, 4);
    const std::size_t body = std::min(size - 4, length > 4 ? length - 4 : 0);
    if (body > 0)
        std::memcpy(datagram.data() + 4, data + 4, body);

    if (Clients.at(0))
        Clients.at(0)->hosting = flags & 0x10 ? 1 : 0;
    InterfaceReady = (flags & 0x20) != 0;
    inGame = (flags & 0x40) != 0;
    FrameClock.totalTime = 1'000'000'000;
    resetReceiveQueue();
    enqueueDatagram(datagram.data(), datagram.size(), Senders[flags & 3]);
    while (dispatchStep()) {
    }
    networkFrame();  // whatever the handlers sent this machine comes back once
    return 0;
}
