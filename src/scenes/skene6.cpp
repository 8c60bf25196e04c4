// Scene 6: empty. Scene 5 hands over past it, so it is never called.
#include "scenes.h"

void skene6()
{
}
