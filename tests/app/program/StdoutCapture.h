#pragma once

#include <functional>
#include <string>

// What action writes to the C runtime's standard output (file descriptor 1),
// read back byte for byte from a temporary file that stands in for it
// meanwhile, opened in text mode as a program's standard output is.
std::string CaptureStdout(const std::function<void()>& action);
