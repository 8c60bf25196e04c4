// The capture's side of the demo's time and sound calls. The capture links
// the demo's library with -Wl,--wrap for each call below, so every call the
// demo makes to them lands here and goes to the current session: the clock
// is virtual, waits never sleep, flips hand the screen to the capture, and
// the mixer opens and loads as usual but is never asked to play: the capture
// writes the soundtrack itself from what was started when.
#include <SDL.h>
#include <SDL_mixer.h>

#include "session.h"

extern "C" {

Mix_Music *__real_Mix_LoadMUS(const char *file);
int __real_Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize);

Uint32 __wrap_SDL_GetTicks(void)
{
    return capture::current->ticks();
}

void __wrap_SDL_Delay(Uint32 ms)
{
    capture::current->wait(ms);
}

int __wrap_SDL_Flip(SDL_Surface *surface)
{
    capture::current->flip(surface);
    return 0;
}

int __wrap_Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize)
{
    int result = __real_Mix_OpenAudio(frequency, format, channels, chunksize);
    capture::current->opened_audio(result, frequency, format, channels, chunksize);
    return result;
}

Mix_Music *__wrap_Mix_LoadMUS(const char *file)
{
    Mix_Music *music = __real_Mix_LoadMUS(file);
    capture::current->loaded_music(music, file);
    return music;
}

int __wrap_Mix_PlayChannelTimed(int channel, Mix_Chunk *chunk, int loops, int ticks)
{
    // The demo plays each sample once, on the first free channel, untimed.
    (void)channel;
    (void)loops;
    (void)ticks;
    return capture::current->play(chunk);
}

int __wrap_Mix_FadeInMusic(Mix_Music *music, int loops, int ms)
{
    return capture::current->fade_in_music(music, loops, ms);
}

int __wrap_Mix_VolumeMusic(int volume)
{
    return capture::current->music_volume(volume);
}

}  // extern "C"
