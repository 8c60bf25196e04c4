// Scene 1: a picture drifts in from the left while it bobs on a sine wave.
#include "scenes.h"

#include "runtime/globals.h"

void skene1()
{
    // Not yet drawn: the scene stays on screen until the run ends.
}
