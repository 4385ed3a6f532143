// OrvTestDisplay: the one connection of a test program to the X display. It
// is opened once and kept to the end, because an X server without clients
// resets itself, and a window, context or program started during the reset
// finds no display. Opening waits out a reset that a previous test program
// set off.
#pragma once

struct _XDisplay;

class OrvTestDisplay {
  public:
    // The connection to $DISPLAY, or null when there is none.
    static _XDisplay* get();
};
