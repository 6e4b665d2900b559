// The chat pane of a room's side panel: the item bar of owned items on top
// and the chat display the room's message proxy writes into, in a frame of
// skin pictures.
#pragma once

#include <afxcmn.h>

#include <Picture.h>
#include <SkinImage.h>
#include <SkinWnd.h>

#include "AnchorLayout.h"
#include "MyShopItem.h"

class CRoomViewItem;

class CRichEditWnd : public CSkinWnd, public CAnchorLayout
{
public:
    enum
    {
        IDC_CHAT_DISPLAY = 1013,
        IDC_ITEM_BAR = 1002,
    };
    static constexpr COLORREF kPaneFill = 0xF6EAD2;
    static constexpr COLORREF kDisplayBack = 0xF6E1C2;

    CRichEditWnd();
    ~CRichEditWnd() override;

    // The room whose proxy resolves links and that uses quantity items.
    void SetRoomView(CRoomViewItem* pView) { m_pView = pView; }
    CRichEditCtrl& GetChatDisplay() { return m_ChatDisplay; }
    CMyShopItem& GetItemBar() { return m_ItemBar; }
    const CRect& GetDisplayRect() const { return m_rcDisplay; }
    // Item slots for a pane of that width.
    static int SlotCountForWidth(int nWidth) { return nWidth > 36 ? (nWidth - 36) / 42 : 0; }

    // Only http and https addresses leave for the browser: a link can come
    // from any player's chat line.
    static bool IsWebAddress(LPCSTR pszUrl);
    // How links leave for the browser; tests install their own.
    static int (*s_pOpenUrl)(LPCSTR pszUrl, int nShow);

    CWnd* GetOwnerWindow() override { return this; }
    void DrawSkinView(CDC* pDC, int cx, int cy) override;
    using CSkinWnd::DrawSkinView;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLinkNotify(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnProtectedNotify(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnItemBarUse(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CRoomViewItem* m_pView;
    CRect m_rcDisplay;
    CRichEditCtrl m_ChatDisplay;
    CMyShopItem m_ItemBar;
    HBITMAP m_hScrollBar;
    CSkinImage m_ImageFrameV;
    CSkinImage m_ImageFrameH;
    CPicture m_ItemLeft, m_ItemMid, m_ItemRight, m_ItemCenter, m_ItemNext, m_ItemPrev;
};
