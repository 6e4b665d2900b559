// The program's tip: a small rounded pop-up with one line of text that
// hides itself after a given time, or stays until hidden.
#pragma once

#include <afxwin.h>

#include <deque>
#include <mutex>

#include "ServiceGlobalUnits.h"
#include "SkinImage.h"

class CTipDlg : public CDialog, public IServiceTip
{
public:
    CTipDlg();
    ~CTipDlg() override;

    // Any thread: a call off the window's thread is handed to it.
    void ShowTip(LPCSTR pszText, int nTime) override;
    void HideTip() override;

    BOOL DestroyWindow() override;

    const CString& GetText() const { return m_strText; }
    const CString& GetShownText() const { return m_strShownText; }
    int GetRemainingTicks() const { return m_nRemainingTicks; }

    static const UINT_PTR kTimerID = 1;
    // The tick of the count-down; tests lengthen it and send the ticks.
    static UINT s_nTickInterval;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void ShowNow(LPCSTR pszText, int nTime);
    void HideNow();

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnRunQueued(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CSkinImage m_ImageBack;
    CString m_strText;
    CString m_strShownText;
    int m_nRemainingTicks;
    UINT_PTR m_nTimerID;
    BOOL m_bRegionReady;
    int m_nAnimation;

private:
    struct tagQueued
    {
        CString strText;
        int nTime;
        bool bHide;
    };
    std::mutex m_QueueLock;
    std::deque<tagQueued> m_Queue;
    DWORD m_dwThreadID;
};
