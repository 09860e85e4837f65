#pragma once
// Whether diagnostics on stderr may be coloured with escape sequences.

// stderr is a terminal (a console on Windows), not a file or a pipe.
bool stderr_is_terminal();

// Makes the terminal behind stderr act on escape sequences: the Windows console
// only does with virtual-terminal processing on. False when that cannot be had.
bool enable_terminal_colours();
