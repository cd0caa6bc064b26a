// FKeys: the game's answer to a key, after the interface scripts heard it.
// Digits store, extend and recall the ten control groups; letters give the
// selection its commands (attack, move, stop, hold, patrol, repair, the
// Defend spell, build or train, and each spell's own shortcut); Delete
// sacrifices the first selected unit. Commands that aim wait for a left
// click (FCommands). Headless: the window says which modifiers are held.
#pragma once

class TGame;
struct TMouse;

// Key down with its Windows virtual-key code (letters upper case).
void GameKeyDown(TGame& game, TMouse& mouse, int virtualKey, bool shift, bool ctrl);
