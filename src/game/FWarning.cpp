#include "game/FWarning.h"

#include "game/FGame.h"

void ShowWarning(TGame& game, const std::string& text)
{
    game.warning.text = text;
    game.warning.expiry = game.tick + WarningTicks;
    game.RaiseEvent(InterfaceEvent::WarningChanged);
}

void ClearWarning(TGame& game)
{
    game.warning.text.clear();
    game.RaiseEvent(InterfaceEvent::WarningChanged);
}

bool WarningExpired(const TGame& game)
{
    return game.warning.expiry == game.tick;
}
