// Scene 3: a starburst of additive glowing lines, then a white flash.
#include "scenes.h"

#include "runtime/globals.h"

void skene3()
{
    // Not yet drawn: the scene stays on screen until the run ends.
}
