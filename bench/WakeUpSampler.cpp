#include "WakeUpSampler.h"

#include "MessagePump.h"

#include <fstream>

namespace {

constexpr char kSamplerScript[] = R"(
pid=
for p in $(pgrep -f "$1"); do
    # This shell names the program too.
    [ "$p" = "$$" ] && continue
    tr '\0' '\n' < /proc/$p/environ 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && pid=$p
done
[ -n "$pid" ] || { echo -1 > "$3.tmp"; mv "$3.tmp" "$3"; exit; }
switches() {
    total=0
    for f in /proc/$pid/task/*/status; do
        while read -r key value; do
            case $key in voluntary_ctxt_switches:|nonvoluntary_ctxt_switches:) total=$((total + value));; esac
        done < "$f"
    done
    echo $total
}
end=$(( ${EPOCHREALTIME/./} / 1000 + $2 * 1000 ))
last=$(switches)
wakes=0
while [ $(( ${EPOCHREALTIME/./} / 1000 )) -lt $end ]; do
    sleep 0.1
    now=$(switches)
    [ "$now" != "$last" ] && wakes=$((wakes + 1))
    last=$now
done
echo $wakes > "$3.tmp"
mv "$3.tmp" "$3"
)";

// A Unix path for this run's files, reached from here through Wine's Z: drive.
std::string UnixTemporaryPath(const char* suffix)
{
    return "/tmp/vantrel-bench-wakeups-" + std::to_string(GetCurrentProcessId()) + "-" +
        std::to_string(GetTickCount()) + suffix;
}

std::string WindowsPathOf(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

} // namespace

bool WakeUpSampler::Start(const std::string& programFileName, int seconds)
{
    if (GetModuleHandleA("ntdll.dll") == nullptr ||
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr)
        return false;
    m_resultPath = UnixTemporaryPath(".count");
    m_scriptPath = UnixTemporaryPath(".sh");
    DeleteFileA(WindowsPathOf(m_resultPath).c_str());
    {
        // Written to a file and run by path: no command-line quoting to get right.
        std::ofstream script(WindowsPathOf(m_scriptPath), std::ios::binary);
        script << kSamplerScript;
        if (!script)
            return false;
    }
    std::string commandLine =
        "/bin/bash " + m_scriptPath + " " + programFileName + " " + std::to_string(seconds) + " " + m_resultPath;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

long WakeUpSampler::Finish(DWORD timeoutMs)
{
    if (m_resultPath.empty())
        return -1;
    const std::string path = WindowsPathOf(m_resultPath);
    long wakeUps = -1;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        std::ifstream in(path);
        if (in >> wakeUps)
            break;
        PumpMessagesFor(100);
    }
    DeleteFileA(path.c_str());
    DeleteFileA(WindowsPathOf(m_scriptPath).c_str());
    m_resultPath.clear();
    return wakeUps;
}
