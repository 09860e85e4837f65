#pragma once
#include <ostream>

// The wait window of a console run: its label text, once, as the run starts.
void show_wait_window(std::ostream& out);
