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
// Each round judges the start that took the mark in the round before; more
// rounds than starts at once are never needed in practice.
constexpr int kTakeOverRounds = 4;
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
// is not ours to trust. Its owner must be this user: an owner may rewrite the
// DACL at will, so a DACL that looks like "this user only" proves nothing
// about an object that another account owns. Its DACL must let nobody but
// this user (and the system) in, and its label, if any, must be no lower
// than this process's. (A private namespace bounded by the user's SID would
// keep other accounts from the name altogether, but Wine 8 has none:
// CreateBoundaryDescriptorW returns null there and CreatePrivateNamespaceW
// is not implemented.)
bool IsOwnSection(HANDLE section, PSID user)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(section, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
            nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const LocalMemory ownedDescriptor(descriptor);
    if (owner == nullptr || !EqualSid(owner, user) || dacl == nullptr)
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
HWND MainWindowOf(DWORD processId)
{
    WindowSearch search{processId, nullptr};
    EnumWindows(FindUnownedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMainWindowOf(DWORD processId)
{
    for (DWORD waited = 0;; waited += kPollMs) {
        const HWND found = MainWindowOf(processId);
        if (found != nullptr || waited >= kFirstStartWaitMs)
            return found;
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

RunningInstance* RunningInstance::s_pHeld = nullptr;

RunningInstance::RunningInstance()
{
    std::vector<BYTE> tokenUser = TokenUserOf(GetCurrentProcess());
    if (tokenUser.empty())
        return;
    const PSID user = SidOf(tokenUser);
    const std::string name = SectionName(user);
    // Owned by this user and open to this user alone: another account can
    // neither open what we made nor pass for it (see IsOwnSection). The owner
    // is named, since an administrator's objects are owned by the
    // Administrators group by default.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const std::string sid = SidText(user);
    const std::string rules = "O:" + sid + "D:P(A;;GA;;;" + sid + ")";
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
        s_pHeld = this;
        return;
    }

    DWORD firstId = 0;
    for (DWORD waited = 0; firstId == 0 && waited < kFirstStartWaitMs; waited += kPollMs) {
        firstId = static_cast<DWORD>(InterlockedCompareExchange(m_pProcessId, 0, 0));
        if (firstId == 0)
            Sleep(kPollMs);
    }
    for (int round = 0; round < kTakeOverRounds; ++round) {
        const HWND firstWindow =
            firstId != 0 && IsVantrelOfThisUser(firstId, user) ? WaitForMainWindowOf(firstId) : nullptr;
        if (firstWindow != nullptr && Answers(firstWindow, firstId)) {
            m_firstId = firstId;
            m_firstWindow = firstWindow;
            return;
        }
        // No answer: this start runs, and the mark names it from now on,
        // unless another start that also found no answer took it first: then
        // that one is judged in turn, so that exactly one takes over.
        const DWORD seen = static_cast<DWORD>(InterlockedCompareExchange(m_pProcessId, ownId, static_cast<LONG>(firstId)));
        if (seen == firstId) {
            s_pHeld = this;
            // Searched again: a first start whose window came after the wait
            // above either finds this mark when its window appears, or has
            // its window found here.
            const HWND window = firstWindow != nullptr ? firstWindow : MainWindowOf(firstId);
            if (window != nullptr)
                PostMessageA(window, ShowMenuRequestMessage, static_cast<WPARAM>(ownId), kInstanceGiveWay);
            return;
        }
        firstId = seen;
    }
    // Still contended after every round: run, as before there was a mark.
}

RunningInstance::~RunningInstance()
{
    if (s_pHeld == this)
        s_pHeld = nullptr;
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

DWORD RunningInstance::MarkedProcess()
{
    // Read through the view this process took at its start: a section of the
    // same name opened now could be anybody's.
    return s_pHeld != nullptr ? static_cast<DWORD>(InterlockedCompareExchange(s_pHeld->m_pProcessId, 0, 0)) : 0;
}

bool RunningInstance::MarkNamesAnotherProcess()
{
    const DWORD named = MarkedProcess();
    return named != 0 && named != GetCurrentProcessId();
}

bool RunningInstance::ShouldGiveWayTo(DWORD senderId)
{
    return senderId != GetCurrentProcessId() && senderId == MarkedProcess();
}
