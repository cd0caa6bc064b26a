#include "game/FGameCodes.h"

const char* SoundKindName(SoundKind kind)
{
    static const char* const names[] = {"building", "gold", "search", "under", "wood", "attack",
                                        "death",    "listen", "mana", "move",  "ok",   "ready"};
    const int k = static_cast<int>(kind);
    return k >= 0 && k < 12 ? names[k] : "";
}

int OrderScriptCode(std::uint8_t kind)
{
    static const int codes[OrderKind::Count] = {2, 1, 4, 3, 5, 1, 4, 6, 7, 0, 0};
    return kind < OrderKind::Count ? codes[kind] : 0;
}

int OrderSound(std::uint8_t kind)
{
    using enum SoundKind;
    switch (kind) {
    case OrderKind::MoveTo:
    case OrderKind::Patrol:
    case OrderKind::Follow:
        return static_cast<int>(Move);
    case OrderKind::Attack:
        return static_cast<int>(Attack);
    case OrderKind::HoldPosition:
    case OrderKind::Construct:
    case OrderKind::Cast:
    case OrderKind::Enter:
    case OrderKind::Leave:
        return static_cast<int>(Ok);
    default:
        return -1;
    }
}
