// The item card that buys one piece of an item through the hall server, or
// confirms the use of an owned piece.
#pragma once

#include <RgnDialog.h>
#include <SkinButton.h>

#include <functional>

#include "ItemCfg.h"
#include "Picture.h"

class CBuyDlg : public CRgnDialog
{
public:
    CBuyDlg();
    ~CBuyDlg() override;

    // In this order before DoModal.
    void SetItem(const CPicture* pPicture, CItemCfg* pItem, bool bShowOwned);
    void SetUseMode(BYTE cbUseMode) { m_cbUseMode = cbUseMode; }
    void SetOwnCount(int nCount);
    void SetExpiry(LONGLONG llExpiry);

    // The card's rows after name and price: the owned count or the expiry
    // row ("" for none); exposed so the texts can be checked.
    CString GetOwnedRow() const;

    // Clock of the expiry row; tests set it.
    static std::function<LONGLONG()> s_Now;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DrawSkinCaption(CDC* pDC) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnBuyOrUse();
    afx_msg void OnCancelButton();
    DECLARE_MESSAGE_MAP()

private:
    void DrawCard(CDC* pDC);

    BYTE m_cbUseMode;
    BYTE m_cbShowOwned;
    int m_nOwnCount;
    LONGLONG m_llExpiry;
    BYTE m_cbCountKnown;
    CSkinButton m_btBuy;
    CSkinButton m_btCancel;
    CSkinButton m_btUse;
    CPicture m_ItemBack;
    const CPicture* m_pPicture;
    CItemCfg* m_pItem;
    // A purchase or use was answered; further confirms do nothing.
    bool m_bDone;
};
