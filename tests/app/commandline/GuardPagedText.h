#pragma once

#include <cstddef>
#include <string>

// Holds one text at a time so that its terminating zero is the last
// readable byte: the page after it is PAGE_NOACCESS, so code that reads
// past the end of the text faults at once instead of reading stray bytes.
class GuardPagedText {
public:
    // capacity: the longest text (without its zero) that Place will get.
    explicit GuardPagedText(std::size_t capacity);
    ~GuardPagedText();
    GuardPagedText(const GuardPagedText&) = delete;
    GuardPagedText& operator=(const GuardPagedText&) = delete;

    // Copies text (which must hold no zero byte) in front of the guard page
    // and returns the copy.
    const char* Place(const std::string& text);

private:
    char* m_region = nullptr;
    // The first byte of the guard page.
    char* m_guard = nullptr;
    std::size_t m_capacity = 0;
};
