#pragma once

// The probe's exports that play Windows' part against the program's filter
// and icon, from inside the program. Each runs on a remote thread of its own:
// DWORD WINAPI Export(void* parameter).
//
// WatchFilterLibrary(char* libraryPath) loads the filter library (the very
// module the program loads: same full path) and redirects two imports: the
// library's SetWindowsHookExA, so that the probe knows the hook the library
// holds and can refuse one install; and the program's Shell_NotifyIconA, so
// that it can refuse adds or be slow. Answers 1 once both are redirected.
inline constexpr char kWatchFilterLibraryExport[] = "WatchFilterLibrary";
// Removes the library's latest hook behind its back, as Windows drops a hook
// that timed out: the library still holds the handle. Answers 1 when removed.
inline constexpr char kDropMouseFilterExport[] = "DropMouseFilter";
// The library's next SetWindowsHookExA fails, as the system refuses it.
inline constexpr char kRefuseNextFilterInstallExport[] = "RefuseNextFilterInstall";
// The program's next NIM_ADD fails, as a shell not ready refuses it.
inline constexpr char kRefuseNextIconAddExport[] = "RefuseNextIconAdd";
// The program's next shell call keeps its thread 600 ms, and Windows drops
// the hook meanwhile.
inline constexpr char kSlowNextShellCallExport[] = "SlowNextShellCall";
// How many installs and icon adds were refused so far: refused installs in
// the low word, refused adds in the high word.
inline constexpr char kRefusalsExport[] = "Refusals";
// How many hooks the library installed so far.
inline constexpr char kFilterInstallsExport[] = "FilterInstalls";
