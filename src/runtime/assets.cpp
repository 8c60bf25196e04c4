// The pictures, the music and the samples: loaded once at start-up from the
// working directory and kept for the whole run.
#include <iostream>

#include <SDL_image.h>

#include "globals.h"
#include "runtime.h"

// Slots whose black pixels let the screen show through.
static bool avainnettu(int slot)
{
    return slot == 2 || slot == 3 || slot == 5 || slot == 9 || slot == 10 || slot == 11;
}

void lataas_kuvat()
{
    for (int i = 0; i < 12; i++) {
        kuvat[i] = NULL;
        // A picture that is missing, unreadable or empty leaves its slot
        // empty; the scenes skip whatever needs it.
        SDL_Surface *ladattu = IMG_Load(ladattavat_kuvat[i].c_str());
        if (ladattu == NULL)
            continue;
        SDL_Surface *muunnettu = NULL;
        if (ladattu->w > 0 && ladattu->h > 0)
            muunnettu = SDL_DisplayFormat(ladattu);
        SDL_FreeSurface(ladattu);
        if (muunnettu == NULL)
            continue;
        if (muunnettu->format->BytesPerPixel != 4) {
            // The scenes write pixel words directly: only 32-bit copies do.
            SDL_FreeSurface(muunnettu);
            continue;
        }
        kuvat[i] = muunnettu;
        if (avainnettu(i))
            SDL_SetColorKey(kuvat[i], SDL_SRCCOLORKEY, SDL_MapRGB(kuvat[i]->format, 0, 0, 0));
    }
}

// The MP3 decoder takes any bytes as music and then plays silence, so a
// file that does not begin like MP3 (an ID3 tag or an MPEG audio frame
// header) does not count as loaded music.
static bool alkaa_kuin_mp3(const char *nimi)
{
    SDL_RWops *tiedosto = SDL_RWFromFile(nimi, "rb");
    if (tiedosto == NULL)
        return false;
    Uint8 alku[3] = {0, 0, 0};
    int luettu = SDL_RWread(tiedosto, alku, 1, 3);
    SDL_RWclose(tiedosto);
    if (luettu != 3)
        return false;
    bool id3 = alku[0] == 'I' && alku[1] == 'D' && alku[2] == '3';
    bool kehys = alku[0] == 0xff && (alku[1] & 0xe0) == 0xe0 && (alku[1] & 0x06) != 0;
    return id3 || kehys;
}

void lataas_musat()
{
    metsa = Mix_LoadMUS("soikkelimetsa.mp3");
    if (metsa != NULL && !alkaa_kuin_mp3("soikkelimetsa.mp3")) {
        Mix_FreeMusic(metsa);
        metsa = NULL;
    }
    if (metsa != NULL)
        std::cout << "jee\n";
    else
        std::cout << "eimetsaa\n";

    vorsenna = Mix_LoadWAV_RW(SDL_RWFromFile("vorsenna.wav", "rb"), 1);
    valahdys = Mix_LoadWAV_RW(SDL_RWFromFile("valahdys.wav", "rb"), 1);
    tajuu = Mix_LoadWAV_RW(SDL_RWFromFile("tajuu.wav", "rb"), 1);
    soikkeli = Mix_LoadWAV_RW(SDL_RWFromFile("soikkeli.wav", "rb"), 1);
    lepikko = Mix_LoadWAV_RW(SDL_RWFromFile("lepikko.wav", "rb"), 1);
}

void release_pics()
{
    for (int i = 0; i < 12; i++) {
        if (kuvat[i] != NULL)
            SDL_FreeSurface(kuvat[i]);
    }
}
