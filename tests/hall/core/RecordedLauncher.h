// The default browser, recorded instead of started: every address the hall
// hands to OpenUrlInBrowser while it lives.
#pragma once

#include <string>
#include <vector>

#include "GlobalUnits.h"

class CRecordedLauncher : public CBrowserLauncher
{
public:
    std::vector<std::string> m_opened;
    CRecordedLauncher() { m_pPrevious = CBrowserLauncher::Install(this); }
    ~CRecordedLauncher() override { CBrowserLauncher::Install(m_pPrevious); }
    INT_PTR ShellOpen(LPCSTR url, int) override
    {
        m_opened.push_back(url);
        return 42;
    }
    bool ReadClassValue(LPCSTR, CString&) override { return false; }
    bool StartProcess(LPCSTR) override { return false; }

private:
    CBrowserLauncher* m_pPrevious;
};
