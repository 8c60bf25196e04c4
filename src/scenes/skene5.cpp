// Scene 5: a scrolling strip with a sliding picture and black cut-ins.
#include "scenes.h"

#include "runtime/globals.h"

void skene5()
{
    // Not yet drawn: the scene stays on screen until the run ends.
}
