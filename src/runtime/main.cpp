// The process entry. SDL's header turns main into SDL_main where the platform
// needs SDL's own entry glue.
#include <SDL.h>

#include "runtime.h"

int main(int argc, char *argv[])
{
    (void)argc;
    (void)argv;
    return demo_main();
}
