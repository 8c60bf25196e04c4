// Scene 2: a picture slides in along the top edge, then four stamps.
#include "scenes.h"

#include "runtime/globals.h"

void skene2()
{
    // Not yet drawn: the scene stays on screen until the run ends.
}
