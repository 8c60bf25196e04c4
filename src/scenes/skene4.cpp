// Scene 4: picture 4 through the rotozoomer, full screen, for four seconds.
// It starts four times enlarged and rocking slightly, pulls back steadily,
// and in its last one and a half seconds shakes while it shrinks into the
// centre and vanishes. The sample tajuu starts once, two seconds in; soikkeli
// starts as the scene ends on a black screen and scene 5 takes over.
#include "scenes.h"

#include <cmath>

#include "effects/effects.h"
#include "runtime/globals.h"
#include "runtime/runtime.h"

void skene4()
{
    // Signed for choosing the phase.
    const Sint32 e = (Sint32)kello();
    double zoom = 0.0, kulma = 0.0;
    bool piirretaan = true;
    if (e < 500) {
        // Rocking with a period of about 250 ms, its swing dying out by 500 ms.
        zoom = 4 - e / 1000.0;
        kulma = std::sin(e * 12.56 / 500) * ((500.0 - e) * 0.03 / 500);
    } else if (e < 2500) {
        // A steady pull-back.
        zoom = 4 - e / 1000.0;
        kulma = 0;
    } else if (e < 4000) {
        // The shake, under an envelope that rises to 0.1 rad at 3250 ms and
        // falls back to 0 at 4000 ms, while the zoom runs down to 0.001.
        zoom = 4 - e / 1000.0;
        kulma = std::sin(e * 25.12 / 500) * (std::sin((e - 2500) * 3.14 / 1500) * 0.1);
    } else if (e == 4000) {
        // Zoom 0: nothing of the picture is left, the screen shows black.
        zoom = 0;
        kulma = 0;
    } else {
        // Later than 4000 ms this pass ends the scene and clears the screen
        // before any flip: its frame would never be seen.
        piirretaan = false;
    }
    if (piirretaan)
        rotozoom(kuvat[4], (float)zoom, (float)kulma, 1);

    // temp2 makes sure tajuu starts only once.
    if (kello() > 2000 && temp2 == 0) {
        temp2 = 1;
        Mix_PlayChannelTimed(-1, tajuu, 0, -1);
    }

    if (kello() > 4000) {
        Mix_PlayChannelTimed(-1, soikkeli, 0, -1);
        tulosta_aika();
        clean_screen();
        temp3 = SDL_GetTicks();
        temp2 = 0;
        skene = skene + 1;
    }
}
