#include "globals.h"

#include "scenes/scenes.h"

int offsetx;
int offsety;
int paskanakki;
SDL_Surface *kuvat[12];
std::string ladattavat_kuvat[12] = {
    "lumovalogo.gif", "lumova1.gif", "mystikko.gif",    "blaa.gif",
    "vors3.jpg",      "lumova2.jpg", "metsa.jpg",       "lepikkorapu.jpg",
    "lumova3.jpg",    "the_end.jpg", "lumova.jpg",      "blood.png",
};
Mix_Music *metsa;
Mix_Chunk *vorsenna;
Mix_Chunk *valahdys;
Mix_Chunk *tajuu;
Mix_Chunk *soikkeli;
Mix_Chunk *lepikko;
unsigned char tempor[16];
int tempora[4];
int temp;
int temp2;
Uint32 temp3;
int temp4;
int kekelol;
int temp666;
SDL_Event tapahtuma;
Uint8 *nappi;
int paalla;
SDL_Surface *screen;
SDL_Rect temp_alue;
signed char skene;
scene_fn skenet[8] = {intro, skene1, skene2, skene3, skene4, skene5, skene6, the_end};
