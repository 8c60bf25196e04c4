// Every piece of state the demo shares between its start-up, its scenes and
// its drawing routines. The demo is a set of free functions over these
// globals; each scene keeps its progress here from one pass to the next.
#pragma once

#include <string>

#include <SDL.h>
#include <SDL_mixer.h>

// A scene function: draws one step of its scene; the last call hands over.
typedef void (*scene_fn)();

extern int offsetx;                       // dissolve offset: (ticks / 100) mod 1000 after each pixel fade() clears
extern int offsety;                       // zeroed at start-up; nothing reads it
extern int paskanakki;                    // scene 5: cuts begun; the cut sample plays only while it is 0
extern SDL_Surface *kuvat[12];            // the picture slots 0..11 in the display's format, null if not loaded
extern std::string ladattavat_kuvat[12];  // the file name of each picture slot
extern Mix_Music *metsa;                  // the background music
extern Mix_Chunk *vorsenna;               // sample played when the intro hands over
extern Mix_Chunk *valahdys;               // sample played when scene 2 hands over
extern Mix_Chunk *tajuu;                  // sample played in the middle of scene 4
extern Mix_Chunk *soikkeli;               // sample played when scene 4 hands over
extern Mix_Chunk *lepikko;                // sample played at the first cut of scene 5
extern unsigned char tempor[16];          // spare bytes; nothing reads or writes them
extern int tempora[4];                    // scene 2: [0] step counter, [1] tick at which the step began
extern int temp;                          // scratch: scene 1's wave offset, scene 5's cut state
extern int temp2;                         // scratch handed between scenes: drift, slide x, once-flag, slide counter
extern Uint32 temp3;                      // scene clock base: the tick at which the current scene began
extern int temp4;                         // scene 5: number of cuts begun, 0..5
extern int kekelol;                       // scene 5: scroll offset of the strip, 0..206
extern int temp666;                       // spare; nothing reads or writes it
extern SDL_Event tapahtuma;               // the event record polled once per pass
extern Uint8 *nappi;                      // SDL's key-state array, fetched each pass
extern int paalla;                        // running flag of the main loop
extern SDL_Surface *screen;               // the display surface every scene draws into
extern SDL_Rect temp_alue;                // the one rectangle used by every blit and fill
extern signed char skene;                 // current slot of the scene table
extern scene_fn skenet[8];                // the scene table, slot by slot
