#include "ModalScript.h"

namespace {

// Thread timers carry no data of their own: one script runs at a time.
ModalScript* g_running = nullptr;

} // namespace

ModalScript::ModalScript(std::function<HWND()> dialogWindow, DWORD timeoutMs)
    : m_dialogWindow(std::move(dialogWindow)), m_deadline(GetTickCount64() + timeoutMs)
{
    g_running = this;
    m_timer = SetTimer(nullptr, 0, 50, Tick);
}

ModalScript::~ModalScript()
{
    KillTimer(nullptr, m_timer);
    if (g_running == this)
        g_running = nullptr;
}

ModalScript& ModalScript::Then(std::string name, Step step)
{
    m_steps.emplace_back(std::move(name), std::move(step));
    return *this;
}

std::string ModalScript::StuckAt() const
{
    return m_stuckAt;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_running != nullptr)
        g_running->RunNext();
}

void ModalScript::RunNext()
{
    if (GetTickCount64() >= m_deadline) {
        GiveUp();
        return;
    }
    if (Finished())
        return;
    const size_t current = m_next++;
    m_running.push_back(current);
    const bool done = m_steps[current].second();
    m_running.pop_back();
    // Only a step that is done may open a nested loop; one that returns
    // false has run to its end, and nothing moved on meanwhile.
    if (!done)
        m_next = current;
}

void ModalScript::GiveUp()
{
    if (!m_timedOut) {
        m_timedOut = true;
        if (m_next < m_steps.size())
            m_stuckAt = "waiting for " + m_steps[m_next].first;
        else if (!m_running.empty())
            m_stuckAt = "inside " + m_steps[m_running.back()].first;
        else
            m_stuckAt = "after the last step";
        m_next = m_steps.size();
    }
    // Every tick until the run ends: each closes one more nested loop.
    EndMenu();
    // A Yes/No message box ignores Close and Cancel; a dialog ignores No.
    if (const HWND box = FindThreadWindow("#32770", nullptr, m_dialogWindow())) {
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    }
    if (const HWND dialog = m_dialogWindow())
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
