// Scene 5: a strip of tiles scrolls left across the screen while a picture
// slides in over it from the left. From tick 19000 on, the last 800 ms of
// every 2000 ms of the scene clock is a cut-in: the screen goes black and a
// third picture stands at (250, 0); the first cut starts a sample. After the
// fifth cut the strip stands still and the picture slides in anew. Past tick
// 27000 the scene hands over to the end title, stepping over the empty slot 6.
//
// State between passes:
//   temp        cut state: 0 the last pass scrolled, 1 a cut has blacked the
//               screen, 2 the cut picture has been drawn (on entry it still
//               holds scene 1's last wave offset, which is neither 0 nor 2)
//   temp4       cuts begun, 0..5; at 5 the cuts stop
//   paskanakki  also counts the cuts; the sample plays only while it is 0
//   kekelol     scroll offset of the strip, 0..206
//   temp2       slide counter: the sliding picture's left edge is temp2 - 200
#include "scenes.h"

#include "effects/effects.h"
#include "runtime/globals.h"
#include "runtime/runtime.h"

namespace {

const int LEIKKAUKSIA = 5;          // cuts at most
const Uint32 KIERROS = 2000;        // the cut cycle of the scene clock, ms
const Uint32 LEIKKAUS_ALKAA = 1200; // cycle position at which the cut begins
const Uint32 AIKAISIN = 19000;      // no cuts before this absolute tick
const Uint32 LOPPU = 27000;         // the scene ends past this absolute tick
const int VALI = 206;               // tile spacing, whatever the tile's width
const Uint32 MODULI = 207;          // the scroll offset's modulus

void piirra(SDL_Surface *kuva)
{
    if (kuva != NULL)
        SDL_BlitSurface(kuva, NULL, screen, &temp_alue);
}

// The top row of the strip and of the sliding picture: the sliding picture
// is centred vertically and the strip shares its top edge. Without the
// sliding picture the strip centres itself.
Sint16 nauhan_rivi()
{
    if (kuvat[5] != NULL)
        return (Sint16)(240 - kuvat[5]->h / 2);
    if (kuvat[6] != NULL)
        return (Sint16)(240 - kuvat[6]->h / 2);
    return 240;
}

// The last 800 ms of each cycle are a cut, once the run has reached tick
// 19000 and while fewer than five cuts have begun. The absolute tick is read
// only when the other two hold.
bool leikkauskohta()
{
    if (kello() % KIERROS < LEIKKAUS_ALKAA)
        return false;
    if (temp4 >= LEIKKAUKSIA)
        return false;
    return SDL_GetTicks() >= AIKAISIN;
}

void vierita()
{
    // Only a cut whose picture was drawn leaves something to wipe; the black
    // of a one-pass cut stays under the strip.
    if (temp == 2)
        clean_screen();

    const Sint16 rivi = nauhan_rivi();
    temp_alue.y = rivi;

    // The offset drops by one every millisecond and wraps from 0 to 206, so
    // the strip moves 206 pixels in 207 ms. After the cuts it stands still.
    if (temp4 < LEIKKAUKSIA)
        kekelol = (int)((0u - SDL_GetTicks()) % MODULI);

    // The tiles stand at kekelol - 206 + 206 n. Only x changes between them:
    // y stays as the previous blit left it, which clipping may have moved.
    temp_alue.x = (Sint16)(kekelol - VALI);
    piirra(kuvat[6]);
    for (Sint16 x = (Sint16)kekelol; x <= 639; x = (Sint16)(x + VALI)) {
        temp_alue.x = x;
        piirra(kuvat[6]);
    }

    // One pixel per 10 ms from 200 pixels left of the screen. Right after
    // the clock restart of the fifth cut the clock reads close to 2^32 and
    // the picture lands far off the left edge (the low 16 bits, signed).
    temp2 = (int)(kello() / 10);
    temp_alue.x = (Sint16)(temp2 - 200);
    temp_alue.y = rivi;
    piirra(kuvat[5]);

    if (temp4 < LEIKKAUKSIA)
        temp = 0;
}

void leikkaa()
{
    if (temp == 0 && SDL_GetTicks() > AIKAISIN) {
        // The first pass of a cut blacks the screen.
        if (paskanakki == 0)
            Mix_PlayChannelTimed(-1, lepikko, 0, -1);
        paskanakki = paskanakki + 1;
        clean_screen();
        temp = 1;
        temp4 = temp4 + 1;
        // The last cut restarts the clock 100 ms ahead: the picture slides
        // in again from the left once the strip stands still.
        if (temp4 == LEIKKAUKSIA)
            temp3 = SDL_GetTicks() + 100;
    } else if (SDL_GetTicks() > AIKAISIN) {
        // The further passes show the cut picture on the black.
        temp_alue.x = 250;
        temp_alue.y = 0;
        temp = 2;
        piirra(kuvat[7]);
    }
}

}  // namespace

void skene5()
{
    if (leikkauskohta())
        leikkaa();
    else
        vierita();

    // Slot 6 is empty: hand over straight to the end title. The last
    // picture stays on the screen.
    if (SDL_GetTicks() > LOPPU) {
        tulosta_aika();
        temp3 = SDL_GetTicks();
        skene = (signed char)(skene + 2);
    }
}
