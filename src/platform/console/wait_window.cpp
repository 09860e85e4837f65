#include "platform/wait_window.h"

void show_wait_window(std::ostream& out) { out << "Attendere" << std::endl; }

void close_wait_window() {}
