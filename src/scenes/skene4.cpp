// Scene 4: a full-screen rotating and zooming picture.
#include "scenes.h"

#include "runtime/globals.h"

void skene4()
{
    // Not yet drawn: the scene stays on screen until the run ends.
}
