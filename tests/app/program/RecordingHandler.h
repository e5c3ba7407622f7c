#pragma once

#include "TrayIconHandler.h"

#include <functional>
#include <string>
#include <vector>

// A handler that notes its name in a shared journal each time it is invoked,
// then runs an optional action: what a test observes of a dispatch.
class RecordingHandler : public TrayIconHandler {
public:
    RecordingHandler(UINT mouseMessage, std::string name, std::vector<std::string>& journal,
        std::function<void()> action = {})
        : TrayIconHandler(mouseMessage), m_name(std::move(name)), m_journal(journal), m_action(std::move(action))
    {
    }

    void Invoke() override
    {
        m_journal.push_back(m_name);
        if (m_action)
            m_action();
    }

private:
    std::string m_name;
    std::vector<std::string>& m_journal;
    std::function<void()> m_action;
};
