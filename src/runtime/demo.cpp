// The life of the demo: start-up, the main loop with its frame cadence and
// time limit, the quit check, and shut-down.
#include <cstdio>
#include <iostream>

#include "globals.h"
#include "runtime.h"

Uint32 kello()
{
    return SDL_GetTicks() - temp3;
}

void tulosta_aika()
{
    std::cout << SDL_GetTicks() << "\n";
}

void tapahtumat()
{
    // One event leaves the queue per pass; only a quit request counts. With
    // the queue empty the record keeps the last event taken.
    SDL_PollEvent(&tapahtuma);
    if (tapahtuma.type == SDL_QUIT)
        paalla = 0;
    // Escape counts while it is held down at the moment of the test.
    nappi = SDL_GetKeyState(NULL);
    if (nappi[SDLK_ESCAPE])
        paalla = 0;
}

int demo_main()
{
    paskanakki = 0;
    temp2 = 0;
    offsetx = 0;
    offsety = 0;
    paalla = 1;

    // The audio and video subsystems come up with the device and the mode.
    SDL_Init(0);
    Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024);
    screen = SDL_SetVideoMode(640, 480, 32, SDL_HWSURFACE | SDL_DOUBLEBUF | SDL_FULLSCREEN);
    if (screen == NULL) {
        // Every scene draws into the screen: without it there is no demo.
        std::fprintf(stderr, "demo: cannot set the 640x480 32-bit video mode: %s\n", SDL_GetError());
        Mix_CloseAudio();
        SDL_Quit();
        return 1;
    }
    SDL_Delay(500);

    lataas_kuvat();
    lataas_musat();
    skene = 0;
    int kierros = 0;  // decides which passes show their frame

    // The first scene's clock starts after loading.
    temp3 = SDL_GetTicks();
    SDL_ShowCursor(0);
    Mix_VolumeMusic(25);
    Mix_FadeInMusic(metsa, -1, 2000);

    while (paalla) {
        skenet[skene]();
        tapahtumat();
        SDL_Delay(1);
        // Passes 3, 5, 7, ... show the frame: two scene calls per frame.
        if (kierros == 2) {
            SDL_Flip(screen);
            kierros = 0;
        }
        kierros++;
        // The limit is on the absolute tick count, loading included.
        if (SDL_GetTicks() > 31500) {
            tulosta_aika();
            paalla = 0;
        }
    }

    Mix_CloseAudio();
    release_pics();
    SDL_Quit();
    return 0;
}
