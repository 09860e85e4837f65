#include "platform/helper_program.h"

#include "platform/exit_status.h"

// The Windows program is one executable: it runs no helper.
result<helper_output> run_helper(const std::string& name, std::string_view) {
    return failure{EXIT_FAILURE_IO, name + ": this build runs no helper programs"};
}
