#pragma once
// Exit statuses shared by every mode of the program.
enum exit_status : int {
    EXIT_OK = 0,
    EXIT_ERROR_STATE = 1,  // the run ended with a non-zero error state
    EXIT_USAGE = 2,
    EXIT_FAILURE_IO = 3,  // run-time or I/O failure
    EXIT_RESERVED = 4,    // a reserved value already in use (1250/1251)
};
