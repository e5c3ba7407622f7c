#include "RunningInstance.h"

#include "RegisteredMessages.h"

#include <sddl.h>

#include <memory>
#include <string>

namespace {

constexpr char kSectionPrefix[] = "Local\\Vantrel.Instance.";
// The first start writes its id right after it created the section: a later
// start that came in between waits that long at most for it.
constexpr DWORD kProcessIdWaitMs = 2000;
constexpr DWORD kProcessIdPollMs = 20;

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct LocalMemoryFreer {
    void operator()(char* text) const { LocalFree(text); }
};

// The caller's SID as text ("S-1-5-21-..."), or empty.
std::string UserSidText()
{
    HANDLE tokenHandle = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &tokenHandle))
        return {};
    const UniqueHandle token(tokenHandle);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER))
        return {};
    const auto buffer = std::make_unique<BYTE[]>(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.get(), size, &size))
        return {};
    char* sidText = nullptr;
    if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &sidText))
        return {};
    const std::unique_ptr<char, LocalMemoryFreer> owned(sidText);
    return owned.get();
}

} // namespace

RunningInstance::RunningInstance()
{
    const std::string sid = UserSidText();
    if (sid.empty())
        return;
    const std::string name = kSectionPrefix + sid;
    m_section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), name.c_str());
    if (m_section == nullptr)
        return;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    m_pProcessId = static_cast<volatile LONG*>(MapViewOfFile(m_section, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (m_pProcessId == nullptr)
        return;
    if (!existed)
        InterlockedExchange(m_pProcessId, static_cast<LONG>(GetCurrentProcessId()));
    m_isFirst = !existed;
}

RunningInstance::~RunningInstance()
{
    if (m_pProcessId != nullptr)
        UnmapViewOfFile(const_cast<LONG*>(m_pProcessId));
    if (m_section != nullptr)
        CloseHandle(m_section);
}

DWORD RunningInstance::FirstProcessId() const
{
    for (DWORD waited = 0; m_pProcessId != nullptr && waited < kProcessIdWaitMs; waited += kProcessIdPollMs) {
        const LONG id = InterlockedCompareExchange(m_pProcessId, 0, 0);
        if (id != 0)
            return static_cast<DWORD>(id);
        Sleep(kProcessIdPollMs);
    }
    return 0;
}

bool RunningInstance::AskFirstToShowMenu() const
{
    const DWORD firstId = FirstProcessId();
    if (firstId == 0)
        return false;
    // Only the process the user just started may hand the foreground on, and
    // the menu closes properly only when its owner is the foreground window.
    AllowSetForegroundWindow(firstId);
    // Every top-level window hears a broadcast; the message names the one
    // process that is to answer, so no window has to be guessed by its title.
    return PostMessageA(HWND_BROADCAST, ShowMenuRequestMessage, firstId, 0) != FALSE;
}
