#include "CommandLineParams.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// The C library's isspace depends on the locale and is undefined for the
// negative chars that bytes above 0x7F become; the set here is fixed.
bool IsWhiteSpace(char character)
{
    return character == ' ' || character == '\t' || character == '\r' || character == '\n'
        || character == '\v' || character == '\f';
}

std::string TrimWhiteSpace(const char* text)
{
    if (text == nullptr) {
        return {};
    }
    const char* begin = text;
    while (IsWhiteSpace(*begin)) {
        ++begin;
    }
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsWhiteSpace(end[-1])) {
        --end;
    }
    return std::string(begin, end);
}

bool IsFlagMarker(char character)
{
    return character == '/' || character == '-';
}

} // namespace

CommandLineParams::CommandLineParams() : CommandLineParams(GetCommandLineA()) {}

CommandLineParams::CommandLineParams(const char* commandLine) : m_commandLine(TrimWhiteSpace(commandLine)) {}

int CommandLineParams::FirstParam(std::string& flag, std::string& param)
{
    flag.clear();
    param.clear();

    const std::size_t length = m_commandLine.size();
    m_buffer = std::make_unique<char[]>(length + 1);
    std::memcpy(m_buffer.get(), m_commandLine.data(), length);
    m_rest = m_buffer.get();

    m_cursor = CutToken();
    if (m_cursor == nullptr) {
        return 0;
    }
    // The program name goes through the same rules as any parameter, so a
    // quoted path with spaces is stepped over whole.
    NextParam(flag, param);
    return NextParam(flag, param);
}

int CommandLineParams::NextParam(std::string& flag, std::string& param)
{
    flag.clear();
    param.clear();
    if (m_cursor == nullptr) {
        return 0;
    }
    if (IsFlagMarker(*m_cursor)) {
        ++m_cursor;
        TakeToken(flag);
    } else {
        TakeToken(param);
    }
    m_cursor = CutToken();
    return 1;
}

void CommandLineParams::TakeToken(std::string& dest)
{
    char* const tokenEnd = TokenEnd(m_cursor);
    if (m_cursor == tokenEnd || *m_cursor != '"') {
        dest.assign(m_cursor, tokenEnd);
        return;
    }
    // A lone quote has no closing quote to look for: its value is empty.
    if (tokenEnd - m_cursor == 1) {
        dest.clear();
        return;
    }
    if (tokenEnd[-1] == '"') {
        dest.assign(m_cursor + 1, tokenEnd - 1);
        return;
    }
    // The buffer has zeros where the spaces were; the value keeps them as
    // they stand, so it is taken from the uncut line.
    const std::size_t valueStart = OffsetOf(m_cursor) + 1;
    for (char* token = CutToken(); token != nullptr; token = CutToken()) {
        m_cursor = token;
        char* const end = TokenEnd(token);
        if (end[-1] == '"') {
            dest = m_commandLine.substr(valueStart, OffsetOf(end - 1) - valueStart);
            return;
        }
    }
    // No closing quote: the value is the rest of the line and the walk ends.
    dest = m_commandLine.substr(valueStart);
}

char* CommandLineParams::CutToken()
{
    if (m_rest == nullptr) {
        return nullptr;
    }
    char* const end = BufferEnd();
    char* position = m_rest;
    while (position < end && *position == ' ') {
        ++position;
    }
    if (position == end) {
        m_rest = end;
        return nullptr;
    }
    char* const token = position;
    while (position < end && *position != ' ') {
        ++position;
    }
    if (position < end) {
        *position = '\0';
        ++position;
    }
    m_rest = position;
    return token;
}

char* CommandLineParams::TokenEnd(char* token) const
{
    return std::find(token, BufferEnd(), '\0');
}

char* CommandLineParams::BufferEnd() const
{
    return m_buffer.get() + m_commandLine.size();
}

std::size_t CommandLineParams::OffsetOf(const char* inBuffer) const
{
    return static_cast<std::size_t>(inBuffer - m_buffer.get());
}
