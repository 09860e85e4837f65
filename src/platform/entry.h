#pragma once
// The program behind the platform's own entry point (main, or wmain on Windows),
// with its arguments as UTF-8. Returns the exit status.
int program(int argc, char** argv);
