#pragma once
// The author's command line: what the program does when it is given arguments.

// Parses the arguments, runs the command and returns the exit status.
int run_command_line(int argc, char** argv);
