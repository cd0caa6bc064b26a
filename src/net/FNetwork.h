// FNetwork: the endpoint every copy of the game owns (TNetwork), the
// catalogue of message layouts that travel over it, and the network's part of
// the shell: start at menu start-up, one receive-and-dispatch per frame, stop
// at shutdown. Messages are packed little-endian records sent whole as single
// datagrams to port 240; FTransmit fills and sends them, FReceive handles them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TConfig;

static_assert(std::endian::native == std::endian::little, "messages are sent as little-endian records");

constexpr std::uint16_t NetPort = 240;
constexpr std::size_t MaxDatagram = 1024;
extern const char* const BroadcastAddress;  // "255.255.255.255"
extern const char* const LocalAddress;      // "127.0.0.1", how every machine names itself

enum TMessageKind : std::int32_t {
    KindChatLine = 1,
    KindUnitDamage = 2,
    KindJoinRequest = 3,
    KindChatSend = 4,
    KindLeave = 5,
    KindBuildRequest = 6,
    KindUnitCreated = 7,
    KindPlayerNumber = 8,
    KindDamageRequest = 9,
    KindServerQuery = 10,
    KindServerInfo = 11,
    KindUnitOrder = 12,
    KindYourAddress = 13,
    KindPlayerListChanged = 16,
    KindLaunchGame = 17,
    KindOrderBroadcast = 18,
    KindPing = 19,
    KindPingReply = 20,
    KindServerClosed = 21,
    KindPlayerInfo = 22,
    KindPlayerInfoChange = 23,
    KindPlayerInfoUpdate = 24,
    KindResearch = 26,  // a joiner's research for the host, then the host's word to every joiner
    KindResources = 30,
    KindUnitState = 100,
};

#pragma pack(push, 1)

// A length byte and up to 255 characters (8-bit text); bytes past the length are ignored.
struct TShortString {
    std::uint8_t length;
    char text[255];
};

struct TPacketHeader {
    std::int32_t Kind;
    std::int64_t Stamp;  // sender's game clock in ms; 0 in lobby messages
};

struct TChatLine {  // also ChatSend, whose address field the receiver ignores
    TPacketHeader header;
    std::int32_t playerId;
    TShortString address;
    TShortString nick;
    TShortString text;
};
using TChatSend = TChatLine;

struct TUnitDamage {  // also DamageRequest
    TPacketHeader header;
    std::int32_t unitId;
    std::int32_t hitPoints;
};
using TDamageRequest = TUnitDamage;

struct TJoinRequest {
    TPacketHeader header;
    TShortString nick;
    std::int32_t race;
    std::int32_t team;
    std::int32_t one;
};

struct TLeave {  // also YourAddress
    TPacketHeader header;
    TShortString address;
};
using TYourAddress = TLeave;

struct TBuildRequest {  // also UnitCreated, whose first field is the new unit's id
    TPacketHeader header;
    std::int32_t unitId;
    std::int32_t x;
    std::int32_t y;
    std::int32_t unitType;
    std::int32_t owner;      // player number, 1 to 8
    std::int32_t builderId;  // -1 for none
};
using TUnitCreatedMessage = TBuildRequest;

struct TPlayerNumber {  // also LaunchGame, carrying the clock start value
    TPacketHeader header;
    std::int32_t value;
};
using TLaunchGame = TPlayerNumber;

struct TServerInfo {
    TPacketHeader header;
    TShortString name;
    std::int32_t playerCount;
    TShortString text;
};

struct TUnitOrder {  // also OrderBroadcast
    TPacketHeader header;
    std::int32_t unitId;
    std::uint8_t order;
    std::int32_t x;  // grid cell, order kinds 1, 2, 4
    std::int32_t y;
    std::int32_t targetId;  // order kinds 5, 6, 7, 9, 10
    std::uint8_t queue;     // 1 append, 0 replace
};

struct TPing {  // also PingReply
    TPacketHeader header;
    std::int64_t clock;
};

struct TPlayerInfo {  // also PlayerInfoChange and PlayerInfoUpdate
    TPacketHeader header;
    std::int32_t slot;
    std::int32_t colour;
    std::int32_t race;
    std::int32_t team;
    TShortString nick;
    std::uint8_t local;  // 1 when the receiver is the player described
    TShortString address;
};

struct TResearch {
    TPacketHeader header;
    std::int32_t player;   // player number, 1 to 8
    std::int32_t upgrade;  // index into the upgrade table
};

struct TResources {
    TPacketHeader header;
    double gold;
    double wood;
};

// One field group is filled per message, chosen by updateMask; see the game rules.
struct TUnitState {
    TPacketHeader header;
    std::int32_t unitIndex;   // 12
    std::int32_t updateMask;  // 16
    std::int32_t stat7;       // 20
    std::int32_t unitNumber;  // 24, the unit's id: an index out of step still finds its unit
    std::int64_t posX;  // 28, fixed point x 10000
    std::int64_t posY;  // 36
    std::int64_t posZ;  // 44
    std::int32_t cellX;  // 52
    std::int32_t cellY;  // 56
    std::int32_t effectCount;  // 60, the unit's number of effect records (masks 65536, 131072)
    std::int32_t targetX;  // 64
    std::int32_t targetY;  // 68
    std::uint8_t unused72[4];
    double hitPoints;       // 76
    double mana;            // 84
    double hitPointsAlt;    // 92, mask 16384
    double manaAlt;         // 100, mask 8192
    double buildProgress;  // 108, mask 65536
    std::uint8_t unused116[1];
    std::uint8_t isBuilding;  // 117
    std::uint8_t unused118[11];
    std::uint8_t underConstruction;  // 129
    std::int32_t sizeFactor;         // 130
    std::int32_t maxHitPoints;       // 134
    std::int32_t maxMana;            // 138
    std::int32_t stat6;              // 142
    std::int32_t stat5;              // 146
    std::int32_t stat3;              // 150
    std::int32_t stat4;              // 154
    std::int32_t effectCounter1;     // 158
    std::int32_t effectCounter2;     // 162
    std::int32_t effectValue;        // 166
    std::uint8_t effectExpired;      // 170
    std::int32_t effectAbilityId;    // 171
    std::int32_t effectEntry;        // 175
    std::int32_t effectValue1;       // 179
    std::int32_t effectValue2;       // 183
};

#pragma pack(pop)

// Messages with nothing but the header.
using TServerQuery = TPacketHeader;
using TPlayerListChanged = TPacketHeader;
using TServerClosed = TPacketHeader;

// The exact datagram length of a kind; 0 for a kind outside the catalogue.
std::size_t messageSize(std::int32_t kind);
// The message's name for log lines ("PlayerInfo"); "unknown" outside the catalogue.
const char* messageName(std::int32_t kind);

std::string readShortString(const TShortString& s);
// Cuts the text to 255 bytes and zeroes the unused rest.
void writeShortString(TShortString& s, const std::string& text);

// The endpoint every copy of the game owns: where its datagrams leave and
// arrive. The client makes a UDP one (FUdpNetwork); a tool or a test may hand
// the network any other. Creation never fails: a broken endpoint logs each
// failing send.
class TNetwork {
public:
    virtual ~TNetwork() = default;

    // One waiting datagram into `buffer` (MaxDatagram bytes): its length, 0 for
    // an empty one, -1 when nothing was read.
    virtual long receive(std::uint8_t* buffer, std::string& senderAddress) = 0;
    virtual void sendTo(const std::string& address, const void* data, std::size_t length) = 0;
    virtual void broadcast(const void* data, std::size_t length) = 0;
    virtual void close() = 0;

    virtual bool open() const = 0;
    virtual std::uint16_t port() const = 0;
    // Why the endpoint could not be opened, as a player reads it; empty when it is open.
    virtual std::string problem() const { return {}; }
};

extern std::unique_ptr<TNetwork> Network;

// Menu start-up: local player id -42, `endpoint` as the network, the client
// table with this machine in slot 0 (nick from `config`), an empty receive queue.
void networkStart(const TConfig& config, std::unique_ptr<TNetwork> endpoint);
// What keeps LAN play from working, for the menu to say; empty when the endpoint is open (or not started).
std::string networkProblem();
// Each frame, both modes: waiting datagrams into the queue, then every due message handled.
void networkFrame();
// Shutdown: Leave to the server address, then the endpoint closed and freed.
void networkStop();
