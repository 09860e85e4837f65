#include "platform/run_time_report.h"

#include "platform/win32/form_window.h"

void report_run_time_failure(const std::string& what, std::ostream&) { message_box(what); }
