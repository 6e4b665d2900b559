// Shared pieces of the web window tests: a parent that records the page
// control's notifications, a recorded default browser, a recorded link
// handler, and a message pump.
#pragma once

// Winsock before the Windows headers.
#include <http/HttpTestServer.h>

#include <afxwin.h>

#include "TestWait.h"

#include "HallLinks.h"
#include "HtmlCtrl.h"
#include "core/GlobalUnits.h"
#include "../core/RecordedLauncher.h"

#include <browser/ScriptObject.h>
#include <browser/ScriptedBrowser.h>

#include <string>
#include <utility>
#include <vector>

// A window that keeps every page-control notification it is sent.
class CNotifyRecorder : public CWnd
{
public:
    struct Notice
    {
        UINT nId;
        UINT nCode;
        tagHtmlWindowSize size;
    };
    std::vector<Notice> m_notices;

    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const Notice& n : m_notices)
            codes.push_back(n.nCode);
        return codes;
    }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const tagHtmlCtrlNotify* p = (const tagHtmlCtrlNotify*)lParam;
        Notice n = {(UINT)wParam, p->hdr.code, p->size};
        m_notices.push_back(n);
        *pResult = 0;
        return TRUE;
    }
};

// The application's link handler: takes hall links, as the hall does.
class CRecordedLinks : public IHallLinkHandler
{
public:
    std::vector<std::string> m_urls;
    CRecordedLinks() { m_pPrevious = CHallLinks::Install(this); }
    ~CRecordedLinks() override { CHallLinks::Install(m_pPrevious); }
    int HandleHallUrl(LPCSTR pszUrl) override
    {
        m_urls.push_back(pszUrl);
        return CHallLinks::IsHallLink(pszUrl) ? 1 : 0;
    }

private:
    IHallLinkHandler* m_pPrevious;
};
