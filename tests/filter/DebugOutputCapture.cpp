#include "DebugOutputCapture.h"

namespace {

// The vectored handler is a plain function: it finds the capture through this.
// One capture at a time, which the constructor enforces.
DebugOutputCapture* g_pActiveCapture = nullptr;

} // namespace

DebugOutputCapture::DebugOutputCapture()
{
    if (g_pActiveCapture != nullptr)
        return;
    m_threadId = GetCurrentThreadId();
    g_pActiveCapture = this;
    // First in the chain, so that no other handler can end the search before it.
    m_handler = AddVectoredExceptionHandler(1, &DebugOutputCapture::OnException);
    if (m_handler == nullptr)
        g_pActiveCapture = nullptr;
}

DebugOutputCapture::~DebugOutputCapture()
{
    if (m_handler == nullptr)
        return;
    RemoveVectoredExceptionHandler(m_handler);
    g_pActiveCapture = nullptr;
}

LONG CALLBACK DebugOutputCapture::OnException(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    DebugOutputCapture* capture = g_pActiveCapture;
    // Other threads' output is not ours to collect, nor is anything else raised.
    if (capture == nullptr || GetCurrentThreadId() != capture->m_threadId ||
        record->ExceptionCode != DBG_PRINTEXCEPTION_C || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;

    const auto lengthWithTerminator = static_cast<size_t>(record->ExceptionInformation[0]);
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    if (text != nullptr && lengthWithTerminator > 0)
        capture->m_text.append(text, lengthWithTerminator - 1);
    // OutputDebugStringA handles its own exception when no debugger does.
    return EXCEPTION_CONTINUE_SEARCH;
}
