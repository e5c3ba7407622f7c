#include "RunningInstance.h"

#include "ModulePath.h"
#include "RegisteredMessages.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kSectionPrefix[] = "Local\\Vantrel.Instance.";
// The first start writes its id right after it created the section, and
// shows its window soon after: a later start that came in between waits that
// long at most for either.
constexpr DWORD kFirstStartWaitMs = 2000;
constexpr DWORD kPollMs = 20;
// A running Vantrel answers at once; one that does not within this long is
// hung or busy past what a user waits for, and the new start runs instead.
constexpr UINT kAnswerTimeoutMs = 1000;
constexpr char kMainWindowClass[] = "#32770";

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct LocalMemoryFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalMemoryFreer>;

// The TOKEN_USER of a process, or empty.
std::vector<BYTE> TokenUserOf(HANDLE process)
{
    HANDLE tokenHandle = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &tokenHandle))
        return {};
    const UniqueHandle token(tokenHandle);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER))
        return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return {};
    return buffer;
}

PSID SidOf(std::vector<BYTE>& tokenUser)
{
    return reinterpret_cast<TOKEN_USER*>(tokenUser.data())->User.Sid;
}

std::string SidText(PSID sid)
{
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return {};
    const LocalMemory owned(text);
    return text;
}

// The integrity level's RID of the caller's token, or 0 when it has none.
DWORD OwnIntegrity()
{
    HANDLE tokenHandle = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &tokenHandle))
        return 0;
    const UniqueHandle token(tokenHandle);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL))
        return 0;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size))
        return 0;
    const PSID label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    return *GetSidSubAuthority(label, *GetSidSubAuthorityCount(label) - 1);
}

// A section that another account or a lower-integrity process created first
// is not ours to trust: its DACL must let nobody but this user (and the
// system) in, and its label, if any, must be no lower than this process's.
bool IsOwnSection(HANDLE section, PSID user)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(section, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
            &descriptor) != ERROR_SUCCESS)
        return false;
    const LocalMemory ownedDescriptor(descriptor);
    if (dacl == nullptr)
        return false;
    PSID system = nullptr;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system))
        return false;
    bool onlyUs = true;
    for (DWORD i = 0; onlyUs && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            onlyUs = false;
        else if (static_cast<ACE_HEADER*>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            const PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
            onlyUs = EqualSid(sid, user) || EqualSid(sid, system);
        }
    }
    FreeSid(system);
    if (!onlyUs)
        return false;

    // Windows labels what a low-integrity process creates; an object with no
    // label counts as medium. Wine keeps no labels: only Windows tests this.
    PACL sacl = nullptr;
    PSECURITY_DESCRIPTOR labelDescriptor = nullptr;
    if (GetSecurityInfo(section, SE_KERNEL_OBJECT, LABEL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, &sacl,
            &labelDescriptor) != ERROR_SUCCESS)
        return true;
    const LocalMemory ownedLabel(labelDescriptor);
    for (DWORD i = 0; sacl != nullptr && i < sacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(sacl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE)
            continue;
        const PSID label = &static_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace)->SidStart;
        if (*GetSidSubAuthority(label, *GetSidSubAuthorityCount(label) - 1) < OwnIntegrity())
            return false;
    }
    return true;
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process the mark names is Vantrel of this user in this session; a mark
// left by a crash may name a process id that is now something else.
bool IsVantrelOfThisUser(DWORD processId, PSID user)
{
    DWORD ownSession = 0;
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &ownSession) || !ProcessIdToSessionId(processId, &session) ||
        session != ownSession)
        return false;
    HANDLE processHandle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (processHandle == nullptr)
        processHandle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (processHandle == nullptr)
        return false;
    const UniqueHandle process(processHandle);
    std::vector<BYTE> tokenUser = TokenUserOf(process.get());
    if (tokenUser.empty() || !EqualSid(SidOf(tokenUser), user))
        return false;
    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameA(process.get(), 0, image, &size))
        return false;
    return lstrcmpiA(BaseName(image).c_str(), BaseName(ModuleFilePath(nullptr)).c_str()) == 0;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindUnownedDialog(HWND window, LPARAM context)
{
    auto* const search = reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[sizeof kMainWindowClass + 1] = {};
    GetClassNameA(window, className, sizeof className);
    if (processId != search->processId || GetWindow(window, GW_OWNER) != nullptr ||
        lstrcmpA(className, kMainWindowClass) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The main window, hidden as always: the process's one unowned dialog (its
// message boxes and About dialog are owned by it).
HWND WaitForMainWindowOf(DWORD processId)
{
    for (DWORD waited = 0;; waited += kPollMs) {
        WindowSearch search{processId, nullptr};
        EnumWindows(FindUnownedDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || waited >= kFirstStartWaitMs)
            return search.found;
        Sleep(kPollMs);
    }
}

bool Answers(HWND window, DWORD processId)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, ShowMenuRequestMessage, processId, kInstanceQuery,
               SMTO_ABORTIFHUNG | SMTO_NORMAL, kAnswerTimeoutMs, &answer) != 0 &&
           answer == static_cast<DWORD_PTR>(kInstanceAnswer);
}

std::string SectionName(PSID user)
{
    const std::string sid = SidText(user);
    return sid.empty() ? std::string() : kSectionPrefix + sid;
}

} // namespace

RunningInstance::RunningInstance()
{
    std::vector<BYTE> tokenUser = TokenUserOf(GetCurrentProcess());
    if (tokenUser.empty())
        return;
    const PSID user = SidOf(tokenUser);
    const std::string name = SectionName(user);
    // Protected, and open to this user alone: another account cannot open
    // what we made, and one that made the name first is caught below.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::string rules = "D:P(A;;GA;;;" + SidText(user) + ")";
    if (name.empty() ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorA(rules.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return;
    const LocalMemory ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    m_section = CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, sizeof(LONG), name.c_str());
    if (m_section == nullptr)
        return;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (existed && !IsOwnSection(m_section, user)) {
        CloseHandle(std::exchange(m_section, nullptr));
        return;
    }
    m_pProcessId = static_cast<volatile LONG*>(MapViewOfFile(m_section, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (m_pProcessId == nullptr)
        return;
    const LONG ownId = static_cast<LONG>(GetCurrentProcessId());
    if (!existed) {
        InterlockedExchange(m_pProcessId, ownId);
        return;
    }

    DWORD firstId = 0;
    for (DWORD waited = 0; firstId == 0 && waited < kFirstStartWaitMs; waited += kPollMs) {
        firstId = static_cast<DWORD>(InterlockedCompareExchange(m_pProcessId, 0, 0));
        if (firstId == 0)
            Sleep(kPollMs);
    }
    const HWND firstWindow =
        firstId != 0 && IsVantrelOfThisUser(firstId, user) ? WaitForMainWindowOf(firstId) : nullptr;
    if (firstWindow != nullptr && Answers(firstWindow, firstId)) {
        m_firstId = firstId;
        m_firstWindow = firstWindow;
        return;
    }
    // No answer: this start runs, and the mark names it from now on.
    InterlockedExchange(m_pProcessId, ownId);
    if (firstWindow != nullptr)
        PostMessageA(firstWindow, ShowMenuRequestMessage, firstId, kInstanceGiveWay);
}

RunningInstance::~RunningInstance()
{
    if (m_pProcessId != nullptr)
        UnmapViewOfFile(const_cast<LONG*>(m_pProcessId));
    if (m_section != nullptr)
        CloseHandle(m_section);
}

bool RunningInstance::AskFirstToShowMenu() const
{
    if (m_firstWindow == nullptr)
        return false;
    // Only the process the user just started may hand the foreground on, and
    // the menu closes properly only when its owner is the foreground window.
    AllowSetForegroundWindow(m_firstId);
    // Posted: the menu runs a loop of its own, and this start need not wait.
    return PostMessageA(m_firstWindow, ShowMenuRequestMessage, m_firstId, kInstanceShowMenu) != FALSE;
}

bool RunningInstance::MarkNamesAnotherProcess()
{
    std::vector<BYTE> tokenUser = TokenUserOf(GetCurrentProcess());
    if (tokenUser.empty())
        return false;
    const std::string name = SectionName(SidOf(tokenUser));
    const UniqueHandle section(name.empty() ? nullptr : OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    if (section == nullptr)
        return false;
    const auto* const processId =
        static_cast<const volatile LONG*>(MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, sizeof(LONG)));
    if (processId == nullptr)
        return false;
    const DWORD named = static_cast<DWORD>(*processId);
    UnmapViewOfFile(const_cast<LONG*>(processId));
    return named != 0 && named != GetCurrentProcessId();
}
