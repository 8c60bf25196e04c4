// Start-up, the main loop and shut-down, the per-pass quit check, the asset
// loading, and the small pieces of the hand-over that every scene shares.
#pragma once

#include <SDL.h>

// The whole life of the demo: start-up, the main loop, shut-down. Returns the
// process exit status: 0 after a normal run, 1 when the video mode cannot be set.
int demo_main();

// The per-pass quit check: one event poll, then the Escape key.
void tapahtumat();

// Loads the twelve pictures into kuvat[], converted to the display's format,
// with black as colour key on slots 2, 3, 5, 9, 10 and 11.
void lataas_kuvat();
// Loads the music (printing "jee" or "eimetsaa") and the five samples.
void lataas_musat();
// Frees the loaded pictures.
void release_pics();

// The scene clock: a fresh tick reading minus temp3, unsigned.
Uint32 kello();
// The tick line: a fresh tick reading and "\n" on standard output.
void tulosta_aika();
