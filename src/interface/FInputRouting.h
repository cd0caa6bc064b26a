// FInputRouting: how interface frames hear the mouse. Once per drawn frame
// the frame walk asks each visible frame with EnableMouse whether the cursor
// entered, left, pressed or released over it; after the walk the pending
// button goes to every frame's OnEvent. No focus, no capture: every enabled
// frame under the cursor reacts, and the game sees the click as well.
// Called by drawFrame and the interface pass; no GL here.
#pragma once

// Enter, leave, press and release for frame `index`, from the cursor's place
// on the design area and the pending button code in Mouse.
void handleFrameMouse(int index);

// Interface events 2 (press) and 3 (release) with arg1 = the button, then
// clears the pending code. Does nothing while no interface exists.
void deliverButtonEvent();
