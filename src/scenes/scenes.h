// The scene functions, one per slot of the scene table. Each call draws one
// step of its scene from the clock; the call that finds the scene's time up
// hands over to the next slot.
#pragma once

void intro();    // slot 0: the centred logo crumbles into black
void skene1();   // slot 1: a picture drifts right while it bobs on a sine wave
void skene2();   // slot 2: a picture slides in along the top, then four stamps
void skene3();   // slot 3: a starburst of additive glowing lines, then a flash
void skene4();   // slot 4: a full-screen rotating and zooming picture
void skene5();   // slot 5: a scrolling strip with black cut-ins
void skene6();   // slot 6: empty; scene 5 skips over it
void the_end();  // slot 7: end title with a leaping picture and a streak
