// CPasswordKeyboard: the on-screen keyboard below a password box. Four rows
// of characters, each rotated by a random amount at every opening, plus
// Backspace, a one-shot soft Shift, Caps Lock and a close key. Clicks type
// into the box's edit as WM_CHAR; the keyboard closes when it loses the focus.
#pragma once

#include <afxwin.h>

#include <SkinImage.h>

class CPasswordKeyboard : public CDialog
{
    DECLARE_DYNAMIC(CPasswordKeyboard)
public:
    enum
    {
        IDD = 157,
        rowCount = 4,
        functionRow = 4,
        colBackspace = 0,
        colShift = 1,
        colCaps = 2,
        colClose = 3,
        noKey = 65535
    };

    CPasswordKeyboard();
    virtual ~CPasswordKeyboard();

    // The character a key types (8 Backspace, 16 Shift, 20 Caps), 0 for none.
    static int KeyChar(const int rotation[rowCount], int row, int col, bool bShift, bool bCaps);
    static const int rowLength[rowCount];

    // The edit the keys type into (the owner of a pop-up is never a child
    // window, so the keyboard cannot find it through its parent).
    void SetTargetEdit(HWND hEdit) { m_hEdit = hEdit; }

    // Key under a client point: TRUE with row and col.
    BOOL HitTest(CPoint point, int& row, int& col) const;
    CRect GetKeyRect(int row, int col) const;

    // Acts on a key as a click does.
    void PressKey(int row, int col);
    // The key messages of the dialog's own loop: Shift and Caps Lock follow
    // the physical keys; TRUE when consumed.
    BOOL HandleKeyMessage(const MSG* pMsg);

    const int* GetRotation() const { return m_rowRotation; }
    BOOL IsShiftOn() const { return m_bShiftOn; }
    BOOL IsCapsOn() const { return m_bCapsOn; }

    // Seams: the generator of the rotations (seeded once per process) and
    // the input injection of the Caps key.
    static void SeedRotations(unsigned int nSeed);
    typedef UINT (*InputSender)(UINT nInputs, INPUT* pInputs, int cbSize);
    static InputSender SetInputSender(InputSender sender);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    void LoadPictures();
    void Draw(CDC* pDC);
    void DrawKey(CDC* pDC, CSkinImage& image, const CRect& rc, int nState);
    void Repaint();

    int m_rowRotation[rowCount];
    char m_rowChars[rowCount][28];
    BOOL m_bShiftOn;
    BOOL m_bCapsOn;
    WORD m_hotCol, m_hotRow;
    BOOL m_bPressed;
    WORD m_pressedCol, m_pressedRow;
    CSize m_sizeChar, m_sizeShift, m_sizeBack, m_sizeBackground, m_sizeClose;
    CSkinImage m_imageChar, m_imageShift, m_imageBack, m_imageClose, m_imageBackground;
    HCURSOR m_hHand;
    HWND m_hEdit;
};
