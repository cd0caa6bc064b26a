// Vrax: a real-time strategy game for up to eight players on a local network.
#include "shell/FGlWindow.h"

int main()
{
    return runApplication();
}
