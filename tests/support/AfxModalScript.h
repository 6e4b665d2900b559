// A scripted modal responder for tests: boxes and dialogs are answered in
// the order queued, and everything shown is recorded. A request that finds
// the queue empty is answered IDCANCEL and counted in unexpected, so a test
// never hangs on a box nobody expected.
//
//   CModalScript script;
//   script.Answer(IDYES);                          // the next box answers Yes
//   script.Then([](AFX_MODAL_REQUEST& r) {         // the next dialog is driven
//       r.pWnd->SetDlgItemText(IDC_NAME, "x");
//       return (INT_PTR)IDOK;
//   });
// An action returning CModalScript::keepRunning leaves the dialog to its own
// loop (for input the action posted).
#pragma once

#include <afxtest.h>

#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

class CModalScript
{
public:
    struct Shown
    {
        AfxModalKind nKind;
        CString strCaption;
        CString strText;
        UINT nType;
        UINT nIDHelp;
        UINT nIDTemplate;
        CString strTemplateName;
        CString strClassName;
        HWND hWndOwner;
    };
    typedef std::function<INT_PTR(AFX_MODAL_REQUEST&)> Action;
    static constexpr INT_PTR keepRunning = INT_PTR(-0x7FFFFFFF) - 1;

    CModalScript()
    {
        m_previous = AfxSetModalResponder(
            [this](AFX_MODAL_REQUEST& request, INT_PTR& nResult) { return Respond(request, nResult); });
    }
    ~CModalScript() { AfxSetModalResponder(std::move(m_previous)); }
    CModalScript(const CModalScript&) = delete;
    CModalScript& operator=(const CModalScript&) = delete;

    CModalScript& Answer(INT_PTR nResult)
    {
        return Then([nResult](AFX_MODAL_REQUEST&) { return nResult; });
    }
    CModalScript& Then(Action action) { return Queue(AfxModalKind(0), std::move(action)); }
    // Answers and actions for one kind only: a request of another kind
    // passes them by (a box that shows before the dialog is offered does
    // not take the dialog's action).
    CModalScript& AnswerBox(INT_PTR nResult)
    {
        return Queue(afxModalMessageBox, [nResult](AFX_MODAL_REQUEST&) { return nResult; });
    }
    CModalScript& ThenDialog(Action action) { return Queue(afxModalDialog, std::move(action)); }

    std::vector<Shown> Recorded() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_shown;
    }
    size_t Count() const { return Recorded().size(); }
    Shown At(size_t i) const { return Recorded().at(i); }
    int Unexpected() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_nUnexpected;
    }
    size_t Pending() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_actions.size();
    }

private:
    CModalScript& Queue(AfxModalKind nKind, Action action)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_actions.push_back({nKind, std::move(action)});
        return *this;
    }

    BOOL Respond(AFX_MODAL_REQUEST& request, INT_PTR& nResult)
    {
        Action action;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_shown.push_back({request.nKind, request.strCaption, request.strText, request.nType, request.nIDHelp,
                               request.nIDTemplate, request.strTemplateName, request.strClassName, request.hWndOwner});
            auto it = m_actions.begin();
            while (it != m_actions.end() && it->first != 0 && it->first != request.nKind)
                ++it;
            if (it == m_actions.end()) {
                ++m_nUnexpected;
                nResult = IDCANCEL;
                return TRUE;
            }
            action = std::move(it->second);
            m_actions.erase(it);
        }
        // Run unlocked: driving a dialog may raise a nested box.
        nResult = action(request);
        return nResult != keepRunning;
    }

    mutable std::mutex m_mutex;
    std::deque<std::pair<AfxModalKind, Action>> m_actions;
    std::vector<Shown> m_shown;
    int m_nUnexpected = 0;
    AFX_MODAL_RESPONDER m_previous;
};
