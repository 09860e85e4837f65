#pragma once
#include <ostream>
#include <string>

// The fixed run's report of a run-time failure (a file that cannot be written,
// a value that does not fit): a line on `out` on the console, a message box on
// Windows. The run then ends with exit status 3.
void report_run_time_failure(const std::string& what, std::ostream& out);
