// Scene 7: the end title with a leaping picture and its trailing streak.
#include "scenes.h"

#include "runtime/globals.h"

void the_end()
{
    // Not yet drawn: the scene stays on screen until the run ends.
}
