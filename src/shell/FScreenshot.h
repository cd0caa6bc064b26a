// FScreenshot: PrintScreen or F12 asks for a picture of the frame; the render
// frame takes it just before the buffer swap and writes
// "Screenshots/Vrax-YYYYMMDD-HHMMSS-mmm.png".
#pragma once

#include <string>

void requestScreenshot();
// Called by the render frame before the swap; writes the picture when one was asked for.
void takeRequestedScreenshot(int width, int height);
// The file name for a picture taken now.
std::string screenshotPath();
