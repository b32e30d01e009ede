// Time for the toolkit: a millisecond clock that never jumps, a pause, and the
// double-click interval.
#pragma once

#include <cstdint>

// Milliseconds from a monotonic clock, wrapping at 2^32.
uint32_t platformTicks();
// Sleeps the calling thread.
void platformSleep(unsigned milliseconds);
// Longest pause between the presses of a double click, in milliseconds.
unsigned platformDoubleClickTime();
