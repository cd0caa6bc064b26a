// FGameCodes: the numbers the rules share with the scripts, the network and
// the sound module. Order kinds and update masks travel in messages, order
// script codes and interface events reach the Lua side, so every value here
// is fixed.
#pragma once

#include <cstdint>

// Torder::kind.
namespace OrderKind {
constexpr std::uint8_t Idle = 0;
constexpr std::uint8_t MoveTo = 1;
constexpr std::uint8_t AttackMove = 2;
constexpr std::uint8_t HoldPosition = 3;
constexpr std::uint8_t Patrol = 4;
constexpr std::uint8_t Follow = 5;
constexpr std::uint8_t Attack = 6;
constexpr std::uint8_t Construct = 7;
constexpr std::uint8_t Cast = 8;
constexpr std::uint8_t Enter = 9;
constexpr std::uint8_t Leave = 10;
constexpr std::uint8_t Count = 11;
}  // namespace OrderKind

// Torder::mode.
namespace OrderMode {
constexpr std::uint8_t Plain = 0;
constexpr std::uint8_t FromCell = 1;        // made from a goal cell (host messages, patrol return)
constexpr std::uint8_t NewBuilding = 2;     // the construct order that comes with a placed building
}  // namespace OrderMode

// The interface events: the value of the script global `event` while
// OnEvent handlers run. Mirrored as the Lua table Event in
// Interface/Shared/Widgets.lua; codes 0 and 6 are never raised.
enum class InterfaceEvent : int {
    UnitChanged = 1,            // a unit, its effects or the selection changed as the unit panel shows
    ButtonDown = 2,             // arg1: 1 left, 2 right, 3 other
    ButtonUp = 3,               // arg1 as for ButtonDown
    OrderStarted = 4,           // arg1: the order's script code
    OrderEnded = 5,             // arg1 as for OrderStarted
    ServerClosed = 7,           // the host closed the server
    BuildingQueueChanged = 8,
    WarningChanged = 9,         // the warning line was set or cleared
    TrainingListChanged = 10,
    UnitCountChanged = 11,      // the local player's unit counter changed
};

// Unit update kinds (UnitState masks): one kind per update.
namespace UpdateMask {
constexpr std::uint32_t Construction = 1;   // underConstruction flag
constexpr std::uint32_t Removed = 2;        // the host removed the unit's corpse from the list
constexpr std::uint32_t Walking = 4;        // position, cell, goal cell and speed of a walking unit
constexpr std::uint32_t Hp = 8;
constexpr std::uint32_t Mp = 16;
constexpr std::uint32_t Stop = 32;          // position, then a stop order
constexpr std::uint32_t Walk = 64;          // position, then a move order to the next waypoint
constexpr std::uint32_t AttackSwing = 512;  // plays "Attack" once
constexpr std::uint32_t SetMp = 8192;
constexpr std::uint32_t SetHp = 16384;
constexpr std::uint32_t Stats = 65536;
constexpr std::uint32_t Effect = 131072;
}  // namespace UpdateMask

// Sound kinds: the file name part after a type's sound prefix.
enum class SoundKind : int {
    Building = 0,
    Gold = 1,
    Search = 2,
    Under = 3,
    Wood = 4,
    Attack = 5,
    Death = 6,
    Listen = 7,
    Mana = 8,
    Move = 9,
    Ok = 10,
    Ready = 11,
};
// "building", "gold", ... "ready"; empty outside the twelve.
const char* SoundKindName(SoundKind kind);

// The script code of an order kind (the `arg1` of order events).
int OrderScriptCode(std::uint8_t kind);
// The sound GiveOrder plays for an order kind, or -1 for none.
int OrderSound(std::uint8_t kind);
