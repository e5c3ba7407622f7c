#pragma once

#include "CCommandLineInfo.h"

#include <memory>
#include <string>

// Walks the process command line one parameter at a time. Parameters are
// separated by runs of space characters only (a tab is an ordinary character);
// a parameter that begins with "/" or "-" is a flag and arrives without that
// one marker; a value that begins with a double quote runs on, spaces and
// all, to the end of the first parameter that ends with a double quote.
//
// Use: construct, call FirstParam once, then NextParam while it returns 1.
// Each call empties both slots and then fills at most one of them.
class CommandLineParams : public CCommandLineInfo {
public:
    // Walks the command line of this process.
    CommandLineParams();
    // Walks the given command line, program name first; null reads as empty.
    explicit CommandLineParams(const char* commandLine);

    // Starts the walk over, steps over the program name and produces the
    // first parameter. Returns 1 if there was one, 0 if not.
    int FirstParam(std::string& flag, std::string& param);
    // Produces the next parameter. Returns 1 if there was one, 0 once the
    // parameters are used up (or before FirstParam).
    int NextParam(std::string& flag, std::string& param);

private:
    // Writes the parameter at m_cursor into dest, joining a double-quoted
    // value across parameters, and leaves m_cursor on the last one used.
    void TakeToken(std::string& dest);
    // Finds the next space-separated token from m_rest on, ends it with a
    // zero in place of the space that follows it and returns its start, or
    // null when only spaces are left. Like strtok, but the position lives in
    // this object and no step reads or writes past the buffer's last byte.
    char* CutToken();
    // The end of the token that starts at token: the zero that CutToken put
    // after it, or the end of the line.
    char* TokenEnd(char* token) const;
    char* BufferEnd() const;
    std::size_t OffsetOf(const char* inBuffer) const;

    // The command line without white space at either end.
    std::string m_commandLine;
    // The token that the next step takes; null before the walk and after it.
    char* m_cursor = nullptr;
    // A copy of m_commandLine, one byte longer and zero-filled, that
    // CutToken cuts up in place; empty until FirstParam.
    std::unique_ptr<char[]> m_buffer;
    // Where CutToken looks for the next token.
    char* m_rest = nullptr;
};
