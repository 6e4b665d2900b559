// CHtmlTextStatic: a static control that draws its text as a small subset of
// HTML: <B> <I> <U> <STRIKE> <CENTER> <SUB> <SUP> <BIG> <SMALL>, <FONT COLOR=
// BGCOLOR= FACE= SIZE=>, <CODE>, <BR>, <HR SIZE=n>, <A HREF=...> and 24
// character entities. The drawing is kept in a memory bitmap until the text
// or a colour changes.
//
// A click on a link either sends a message to a window of the program
// ("APP:name", looked up in the command table) or opens a web address; only
// http:// and https:// targets are opened, since texts come from servers.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <vector>

class CHtmlTextStatic : public CStatic
{
    DECLARE_DYNAMIC(CHtmlTextStatic)
public:
    CHtmlTextStatic();
    virtual ~CHtmlTextStatic();

    // Colours by name (CColourNames) or value; each answers the previous one.
    virtual COLORREF SetBkColour(LPCTSTR lpszName);
    virtual COLORREF SetBkColour(COLORREF crBack);
    virtual COLORREF SetTextColour(LPCTSTR lpszName);
    virtual COLORREF SetTextColour(COLORREF crText);
    COLORREF GetBkColour() const { return m_crBack; }
    COLORREF GetTextColour() const { return m_crText; }

    // Resets the drawing state, sets the text and redraws at once.
    void SetWindowText(LPCTSTR lpszText);

    // "APP:name" links send message nMessage with wParam to pWnd.
    void AddAppCommand(LPCTSTR lpszName, HWND hWnd, UINT nMessage, WPARAM wParam);
    void SetMargins(int nLeft, int nRight);
    void SetLogFont(const LOGFONT& lf);
    void EnableToolTips(BOOL bEnable) { m_bToolTips = bEnable; }

    // Links of the last drawing, in text order (client coordinates).
    int GetLinkCount() const { return (int)m_linkRects.size(); }
    CRect GetLinkRect(int i) const { return m_linkRects[(size_t)i]; }
    CString GetLinkTarget(int i) const { return m_linkTargets[(size_t)i]; }

    // Follows the first link holding the point; TRUE when a window got its
    // message or the address was opened.
    BOOL FollowLinkAt(CPoint ptClient);
    BOOL IsOverLink() const { return m_bOverLink; }

    // Opens a web address; replaceable so tests record instead of starting
    // a browser. The default tries the shell, then the browser registered
    // for ".htm".
    typedef BOOL (*LinkOpener)(LPCSTR lpszTarget);
    static LinkOpener SetLinkOpener(LinkOpener opener);
    static BOOL OpenWithShell(LPCSTR lpszTarget);
    // Only http:// and https:// addresses without quotes or control characters.
    static BOOL IsWebTarget(LPCSTR lpszTarget);
    // The registered browser command cut at its "%1" placeholder, followed
    // by the target as one quoted argument.
    static CString BuildBrowserCommand(LPCSTR lpszCommand, LPCSTR lpszTarget);
    // The href value: what follows "HREF=", one pair of quotes removed.
    static CString ParseLinkTarget(LPCSTR lpszTag);

    // The hand cursor: the system's, else the help viewer's (null when neither).
    HCURSOR GetHandCursor() const { return m_hHandCursor; }

    // Draws into pDC (what WM_PAINT and WM_PRINTCLIENT do).
    void DrawText(CDC* pDC);

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

private:
    struct AppCommand
    {
        HWND hWnd;
        UINT nMessage;
        WPARAM wParam;
        CString strName;
    };
    struct DrawState;

    void Reset();
    void ClearLinks();
    void ReleaseMemory();
    void LoadHandCursor();
    bool ApplyTag(CString& text, DrawState& st);
    void DrawRun(const CString& run, DrawState& st);
    BOOL SendAppCommand(const CString& target);

    CDC m_memDC;
    CBitmap m_memBitmap;
    CBitmap* m_pOldBitmap;
    BOOL m_bRedraw;

    CToolTipCtrl m_toolTip;
    BOOL m_bToolTips;

    BOOL m_bOwnFont;
    LOGFONT m_logFont;

    int m_nUnderline, m_nBold, m_nItalic, m_nCenter, m_nStrike, m_nSub, m_nSup;
    int m_nRulePending;
    BOOL m_bLineBreak;
    BOOL m_bInLink;
    BOOL m_bOverLink;
    int m_nRuleSize;

    std::vector<CRect> m_linkRects;
    CStringArray m_linkTargets;

    HCURSOR m_hHandCursor;
    HCURSOR m_hSavedCursor;

    int m_nLeftMargin, m_nRightMargin;
    int m_y;

    std::vector<AppCommand> m_commands;

    COLORREF m_crBack;
    COLORREF m_crText;
    CPoint m_ptClick;
};
