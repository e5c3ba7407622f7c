#include "BenchOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool ParseCount(const char* text, int minimum, int maximum, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < minimum || parsed > maximum)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

const char* BenchUsage()
{
    return "Usage: VantrelBench [--samples N] [--storm-events N] [--idle-seconds N]\n"
           "                    [--i686-bin FOLDER] [--x86_64-bin FOLDER]\n"
           "  --samples N       latency samples per configuration (default 500)\n"
           "  --storm-events N  pointer moves per storm configuration (default 20000)\n"
           "  --idle-seconds N  idle period of each running program (default 60)\n"
           "  --i686-bin, --x86_64-bin  folders of the binaries whose sizes are shown\n";
}

bool ParseBenchOptions(int argc, char** argv, BenchOptions& options, std::string& problem)
{
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        if (std::strcmp(name, "--help") == 0) {
            options.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            problem = std::string("unknown option or missing value: ") + name;
            return false;
        }
        const char* value = argv[++i];
        bool understood = true;
        if (std::strcmp(name, "--samples") == 0)
            understood = ParseCount(value, 1, 1000000, options.samples);
        else if (std::strcmp(name, "--storm-events") == 0)
            understood = ParseCount(value, 1, 10000000, options.stormEvents);
        else if (std::strcmp(name, "--idle-seconds") == 0)
            understood = ParseCount(value, 1, 24 * 3600, options.idleSeconds);
        else if (std::strcmp(name, "--i686-bin") == 0)
            options.i686Folder = value;
        else if (std::strcmp(name, "--x86_64-bin") == 0)
            options.x86_64Folder = value;
        else
            understood = false;
        if (!understood) {
            problem = std::string("not understood: ") + name + " " + value;
            return false;
        }
    }
    return true;
}
