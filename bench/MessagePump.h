#pragma once

// Waiting while serving this thread's messages. The low-level hooks that the
// benchmark installs run on this thread, called through sent messages, so every
// wait of the benchmark must pump; every wait is bounded.

#include <windows.h>

#include <functional>

// Pumps until done() is true or timeoutMs has passed. Returns done().
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

void PumpMessagesFor(DWORD milliseconds);
