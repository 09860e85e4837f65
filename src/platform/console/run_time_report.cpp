#include "platform/run_time_report.h"

void report_run_time_failure(const std::string& what, std::ostream& out) {
    out << "scenario-compiler: " << what << std::endl;
}
