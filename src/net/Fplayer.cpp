#include "net/Fplayer.h"

TPublicPlayerInfo* TPublicPlayerList::at(int index) const
{
    if (index < 0 || index >= Capacity)
        return nullptr;
    return entries[static_cast<std::size_t>(index)].get();
}
