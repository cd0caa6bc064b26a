// Writes the network fuzz target's seeds: one well-formed datagram of every
// kind in the catalogue, each as the input that delivers it from the server's
// address to a machine in the state that kind expects (hosting for requests,
// in the game for game messages). Run by the build into the folder it names.
#include "net/FNetwork.h"

#include "NetworkInput.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

template <class Message>
std::vector<std::uint8_t> bytesOf(const Message& message)
{
    std::vector<std::uint8_t> bytes(sizeof message);
    std::memcpy(bytes.data(), &message, sizeof message);
    return bytes;
}

template <class Message>
Message headed(std::int32_t kind, std::int64_t stamp)
{
    Message m{};
    std::memcpy(&m, &kind, sizeof kind);
    std::memcpy(reinterpret_cast<char*>(&m) + sizeof kind, &stamp, sizeof stamp);
    return m;
}

bool isGameKind(std::int32_t kind)
{
    return kind == KindUnitState || kind == KindResources || kind == KindUnitOrder || kind == KindOrderBroadcast ||
           kind == KindBuildRequest || kind == KindUnitCreated || kind == KindUnitDamage || kind == KindDamageRequest ||
           kind == KindResearch;
}

// A plausible message of `kind`; the game's kinds carry a stamp already due.
std::vector<std::uint8_t> wellFormed(std::int32_t kind)
{
    const std::int64_t stamp = isGameKind(kind) ? 999'999'000 : 0;
    switch (kind) {
    case KindChatLine:
    case KindChatSend: {
        auto m = headed<TChatLine>(kind, stamp);
        m.playerId = 1;
        writeShortString(m.address, "10.0.0.1");
        writeShortString(m.nick, "Brave Fox");
        writeShortString(m.text, "Hello, keep!");
        return bytesOf(m);
    }
    case KindUnitDamage:
    case KindDamageRequest: {
        auto m = headed<TUnitDamage>(kind, stamp);
        m.unitId = 1;
        m.hitPoints = 25;
        return bytesOf(m);
    }
    case KindJoinRequest: {
        auto m = headed<TJoinRequest>(kind, stamp);
        writeShortString(m.nick, "Joiner");
        m.race = 1;
        m.team = 2;
        m.one = 1;
        return bytesOf(m);
    }
    case KindLeave:
    case KindYourAddress: {
        auto m = headed<TLeave>(kind, stamp);
        writeShortString(m.address, "10.0.0.2");
        return bytesOf(m);
    }
    case KindBuildRequest:
    case KindUnitCreated: {
        auto m = headed<TBuildRequest>(kind, stamp);
        m.unitId = 1;
        m.x = 1920;
        m.y = 1920;
        m.unitType = 1;
        m.owner = 1;
        m.builderId = -1;
        return bytesOf(m);
    }
    case KindPlayerNumber:
    case KindLaunchGame: {
        auto m = headed<TPlayerNumber>(kind, stamp);
        m.value = kind == KindLaunchGame ? 1500 : 1;
        return bytesOf(m);
    }
    case KindServerInfo: {
        auto m = headed<TServerInfo>(kind, stamp);
        writeShortString(m.name, "Brave keep");
        m.playerCount = 2;
        writeShortString(m.text, "Come and play");
        return bytesOf(m);
    }
    case KindUnitOrder:
    case KindOrderBroadcast: {
        auto m = headed<TUnitOrder>(kind, stamp);
        m.unitId = 1;
        m.order = 1;
        m.x = 130;
        m.y = 125;
        m.targetId = -1;
        return bytesOf(m);
    }
    case KindPing:
    case KindPingReply: {
        auto m = headed<TPing>(kind, stamp);
        m.clock = 1'000'000;
        return bytesOf(m);
    }
    case KindPlayerInfo:
    case KindPlayerInfoChange:
    case KindPlayerInfoUpdate: {
        auto m = headed<TPlayerInfo>(kind, stamp);
        m.slot = 1;
        m.colour = 2;
        m.race = 1;
        m.team = 2;
        writeShortString(m.nick, "Joiner");
        m.local = 1;
        writeShortString(m.address, "10.0.0.2");
        return bytesOf(m);
    }
    case KindResearch: {
        auto m = headed<TResearch>(kind, stamp);
        m.player = 2;
        m.upgrade = 0;
        return bytesOf(m);
    }
    case KindResources: {
        auto m = headed<TResources>(kind, stamp);
        m.gold = 500;
        m.wood = 20;
        return bytesOf(m);
    }
    case KindUnitState: {
        auto m = headed<TUnitState>(kind, stamp);
        m.unitIndex = 0;
        m.updateMask = 1;
        m.posX = 1920 * 10000LL;
        m.posY = 1920 * 10000LL;
        m.cellX = 120;
        m.cellY = 120;
        m.hitPoints = 200;
        m.maxHitPoints = 220;
        return bytesOf(m);
    }
    default: return bytesOf(headed<TPacketHeader>(kind, stamp));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (std::size_t i = 0; i < fuzzing::NetworkKindCount; ++i) {
        const std::int32_t kind = fuzzing::NetworkKinds[i];
        if (messageSize(kind) == 0)
            continue;
        // Sender 0 is the first loopback address, which the target's own machine uses.
        const std::uint8_t switches = fuzzing::SwitchHosting | fuzzing::SwitchInterfaceReady |
                                      (isGameKind(kind) ? fuzzing::SwitchInGame : 0);
        const std::vector<std::uint8_t> input = fuzzing::networkInput(i, switches, wellFormed(kind));
        const std::string path = std::string(argv[1]) + "/" + messageName(kind);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
