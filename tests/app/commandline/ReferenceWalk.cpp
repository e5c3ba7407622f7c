#include "ReferenceWalk.h"

std::string TrimmedCommandLine(const std::string& text)
{
    const char* const whiteSpace = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(whiteSpace);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(whiteSpace) - first + 1);
}

std::vector<WalkStep> ReferenceWalk(const std::string& commandLine)
{
    const std::string line = TrimmedCommandLine(commandLine);
    const std::size_t length = line.size();
    const auto endsToken = [&](std::size_t at) { return at == length || line[at] == ' '; };

    std::vector<WalkStep> steps;
    std::size_t at = 0;
    for (;;) {
        while (at < length && line[at] == ' ')
            ++at;
        if (at == length)
            break;
        const bool isFlag = line[at] == '/' || line[at] == '-';
        if (isFlag)
            ++at;
        std::string text;
        if (at < length && line[at] == '"' && !endsToken(at + 1)) {
            // The value closes at the first quote that is the last character
            // of a token; without one it is the rest of the line.
            const std::size_t start = at + 1;
            std::size_t close = start;
            while (close < length && !(line[close] == '"' && endsToken(close + 1)))
                ++close;
            text = line.substr(start, close - start);
            at = close < length ? close + 1 : length;
        } else if (at < length && line[at] == '"') {
            ++at; // a lone quote: empty value
        } else {
            const std::size_t start = at;
            while (!endsToken(at))
                ++at;
            text = line.substr(start, at - start);
        }
        steps.push_back(isFlag ? Flag(text) : Param(text));
    }
    if (!steps.empty()) {
        steps.erase(steps.begin()); // the program name
    }
    return steps;
}
