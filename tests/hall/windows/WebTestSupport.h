// Shared pieces of the web window tests: a parent that records the page
// control's notifications, a recorded default browser, a recorded link
// handler, a script document with meta elements, and a message pump.
#pragma once

// Winsock before the Windows headers.
#include <http/HttpTestServer.h>

#include <afxwin.h>

#include "HallLinks.h"
#include "HtmlCtrl.h"
#include "core/GlobalUnits.h"

#include <browser/ScriptedBrowser.h>

#include <string>
#include <utility>
#include <vector>

inline void PumpPending()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

template <class F> bool PumpUntil(F done, DWORD dwGuardMs = 10000)
{
    DWORD dwStart = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - dwStart > dwGuardMs)
            return done();
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

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

// The default browser, recorded instead of started.
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

// A script object with fixed properties and methods, for documents,
// element collections and elements as a page's script sees them.
class CScriptObject final : public IDispatch
{
public:
    // Meta elements of a document: pairs of name and content.
    static CScriptObject* Document(const std::vector<std::pair<std::wstring, std::wstring>>& metas)
    {
        CScriptObject* pDocument = new CScriptObject;
        CScriptObject* pCollection = new CScriptObject;
        for (const auto& meta : metas) {
            CScriptObject* pMeta = new CScriptObject;
            pMeta->m_texts = {{L"name", meta.first}, {L"content", meta.second}};
            pCollection->m_items.push_back(pMeta);
        }
        pDocument->m_pCollection = pCollection;
        return pDocument;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRef; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG n = --m_nRef;
        if (n == 0)
            delete this;
        return n;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* p) override { return *p = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* pid) override
    {
        static const wchar_t* const s_names[] = {L"getElementsByTagName", L"length", L"item", L"name", L"content"};
        for (DISPID i = 0; i < 5; ++i)
            if (lstrcmpW(names[0], s_names[i]) == 0)
                return *pid = i + 1, S_OK;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* pResult, EXCEPINFO*, UINT*) override
    {
        ::VariantInit(pResult);
        switch (id) {
        case 1:
            if (m_pCollection == nullptr || p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_BSTR ||
                lstrcmpiW(V_BSTR(&p->rgvarg[0]), L"meta") != 0)
                return DISP_E_MEMBERNOTFOUND;
            m_pCollection->AddRef();
            V_VT(pResult) = VT_DISPATCH;
            V_DISPATCH(pResult) = m_pCollection;
            return S_OK;
        case 2:
            V_VT(pResult) = VT_I4;
            V_I4(pResult) = m_nLength >= 0 ? m_nLength : (LONG)m_items.size();
            return S_OK;
        case 3: {
            if (p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_I4)
                return DISP_E_TYPEMISMATCH;
            LONG i = V_I4(&p->rgvarg[0]);
            if (i < 0 || i >= (LONG)m_items.size())
                return S_OK; // an empty answer, as a script gets for a missing item
            m_items[i]->AddRef();
            V_VT(pResult) = VT_DISPATCH;
            V_DISPATCH(pResult) = m_items[i];
            return S_OK;
        }
        case 4:
        case 5:
            for (const auto& t : m_texts)
                if (t.first == (id == 4 ? L"name" : L"content")) {
                    V_VT(pResult) = VT_BSTR;
                    V_BSTR(pResult) = ::SysAllocString(t.second.c_str());
                    return S_OK;
                }
            return DISP_E_MEMBERNOTFOUND;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    CScriptObject* m_pCollection = nullptr;
    std::vector<CScriptObject*> m_items;
    std::vector<std::pair<std::wstring, std::wstring>> m_texts;
    LONG m_nLength = -1; // what length answers; -1: the number of items

private:
    ~CScriptObject()
    {
        if (m_pCollection != nullptr)
            m_pCollection->Release();
        for (CScriptObject* p : m_items)
            p->Release();
    }
    ULONG m_nRef = 1;
};
