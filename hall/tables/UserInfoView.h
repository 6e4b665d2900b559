// CUserInfoView: the own-user strip at the top of the plaza view (face in a
// frame, nickname, id, gold eggs, VIP badge, signature line, short-message
// icon), a widget of the plaza's tree. CSignatureEdit: the edit laid over the
// signature line; leaving it sends a changed signature to the hall server.
#pragma once

#include <afxcmn.h>

#include <Picture.h>
#include <Widget.h>

#include "PlazaViewItem.h"

// The window the panel's tips and signature label belong to.
class IUserPanelOwner
{
public:
    virtual ~IUserPanelOwner() {}
    virtual CWnd* GetOwnerWnd() = 0;
    virtual CToolTipCtrl* GetToolTip() = 0;
};

class CUserInfoView : public CWidget, public IPlazaUserPanel
{
public:
    enum
    {
        TOOL_TIP_ID = 100,
        TOOL_CELL_WIDTH = 23,
        IDC_OWNER_SIGNATURE = 1001,
        MAX_EXPERIENCE_LEVELS = 1000
    };

    CUserInfoView();
    ~CUserInfoView() override;

    void LoadSkin(IUserPanelOwner* pOwner);
    void UpdateUserInfo() override;
    void LoadSignature();
    void GetViewRect(RECT* pRect);
    // Stores a changed signature and sends it; false when it was unchanged.
    bool CommitSignature(LPCSTR pszText);

    void SetNewMail(bool bNewMail, int nMailFrame);
    int GetLevel() const { return m_nLevel; }
    DWORD GetLevelThreshold() const { return m_dwLevelThreshold; }
    int GetHoveredTool() const { return m_nHoveredTool; }
    CRect GetFaceFrameRect() const { return m_rcFaceFrame; }
    CRect GetVipRect() const { return m_rcVip; }
    CRect GetLevelRect() const { return m_rcLevel; }
    CRect GetToolStripRect() const { return m_rcToolStrip; }
    // The signature line as drawn.
    CString GetSignatureText() const;
    // The VIP badge frame of a VIP level.
    static int VipFrame(LONG lVipLevel);
    // Level and threshold of an experience by the experience table.
    static void ComputeLevel(LPCSTR pszIniPath, DWORD dwExperience, int& nLevel, DWORD& dwThreshold);

    // The plaza's seam.
    CWidget* GetPanelWidget() override { return this; }
    void PlacePanel(const CRect& rect) override;
    CRect GetSignatureRect() override { return m_rcSignature; }
    CString GetSignature() override { return m_strSignature; }
    void SetSignature(LPCSTR pszSignature) override { CommitSignature(pszSignature); }
    void LoadUserSignature() override { LoadSignature(); }

    using CWidget::MouseMove;
    void Draw(CWidgetDC* pDC) override;
    void LButtonDown(int, int) override {}
    void LButtonUp(int x, int y) override;
    void LButtonDblClk(int, int) override {}
    void MouseMove(int x, int y) override;

private:
    void ShowTip(LPCSTR pszText);
    void HideTip();
    void Repaint();
    void DrawSignatureLine(CDC* pDC);
    void DrawMessageIcon(CDC* pDC);

    bool m_bUserDataLoaded;
    bool m_bToolTipOff;
    int m_nToolPressed;
    bool m_bNewMail;
    bool m_bSignatureHovered;
    int m_nHoveredTool;
    int m_nLevel;
    DWORD m_dwLevelThreshold;
    CString m_strSignature;
    int m_nMailFrame;
    CRect m_rcToolStrip;
    CRect m_rcLevel;
    CRect m_rcFaceFrame;
    CRect m_rcSignature;
    CRect m_rcVip;
    CPicture m_PanelLeft;
    CPicture m_PanelMiddle;
    CPicture m_PanelRight;
    CPicture m_InfoBack;
    CPicture m_Tool;
    CPicture m_ButtonBack;
    CPicture m_FaceFrame;
    CPicture m_VipBadge;
    IUserPanelOwner* m_pOwner;
    bool m_bSkinLoaded;
    bool m_bTipAdded;
};

class CSignatureEdit : public CEdit
{
public:
    explicit CSignatureEdit(CUserInfoView* pView);
    ~CSignatureEdit() override;

protected:
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    CUserInfoView* m_pView;
};
