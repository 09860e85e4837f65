#pragma once
#include <ostream>

// The wait window of the fixed run, shown before the work starts and painted
// once: on the console its label's text on `out`; on Windows the window Form1
// with its label Label1. Without a display the run goes on without it.
void show_wait_window(std::ostream& out);
// Destroys the window at the end of the run.
void close_wait_window();
