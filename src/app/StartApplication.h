#pragma once

// Creates every window and the data module once, in their fixed order, and runs the
// event loop until the program ends.
int StartApplication(int argc, char** argv);
