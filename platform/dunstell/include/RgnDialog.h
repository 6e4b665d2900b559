// CRgnDialog: a skinned dialog drawn entirely by its pictures. Once a frame
// or background picture loads, the system frame and caption go, the window
// is cut to the pictures (key colour RGB(255, 0, 255) within 0x101010 left
// out), the top frame row drags the window and shows the caption, and the
// close picture (four states side by side) becomes a close button at the top
// right. Without pictures it is a plain dialog.
#pragma once

#include "SkinButton.h"
#include "SkinDialog.h"

// The close button of a region dialog: a click closes the dialog as the
// system close box would.
class CSkinCloseButton : public CSkinButton
{
    DECLARE_DYNAMIC(CSkinCloseButton)
protected:
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()
};

class CRgnDialog : public CSkinDialog
{
    DECLARE_DYNAMIC(CRgnDialog)
public:
    // Control id of the close button.
    static constexpr UINT IDC_SKIN_CLOSE = 0x7FF0;

    CRgnDialog();
    explicit CRgnDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CRgnDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CRgnDialog();

    BOOL OnInitDialog() override;
    void InitSkinObject() override;

    void SetTransColor(COLORREF crTrans) { m_crTrans = crTrans; }
    COLORREF GetTransColor() const { return m_crTrans; }
    // The pictures replace the system frame.
    BOOL IsSkinFrame() const { return m_bSkinFrame; }

protected:
    // Cuts the window to the skin drawn at the present size.
    void UpdateSkinRgn();
    void LayoutCloseButton();
    void DrawSkinCaption(CDC* pDC) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

    CSkinCloseButton m_btClose;
    COLORREF m_crTrans;
    BOOL m_bSkinFrame;
};
