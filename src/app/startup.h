#pragma once

namespace vaha::app {

// The program: creates the four windows hidden in their order (main window, entry form,
// address book, busy window), shows the main window and runs until it is closed.
int runVahaPLX(int argc, char** argv);

// Font stand-ins for the families the windows and the note name (Tahoma, Arial, Courier New).
void installFontSubstitutes();

} // namespace vaha::app
