#pragma once

#include <functional>
#include <string>

// What action writes to the C runtime's standard output (file descriptor 1),
// read back from a temporary file that stands in for it meanwhile.
std::string CaptureStdout(const std::function<void()>& action);
