// The hall's item shop window: one per process, created without a parent
// when the frame first needs it. It owns the catalogue, shows the shop page,
// the user's own items and balance, opens the buy dialog and reports the
// purchase answers of the hall server.
#pragma once

#include <RgnButton.h>
#include <RgnDialog.h>
#include <SkinMessageBox.h>

#include "HallMsgBox.h"
#include "ItemCatalogue.h"
#include "MyShopItem.h"
#include "ShopItemFrame.h"

class CClientDataCenter;

class CItemShop : public CRgnDialog, public IItemCatalogueHost
{
public:
    CItemShop();
    ~CItemShop() override;

    // The shop skin folder: the resource folder followed by "ItemShop//".
    static CString GetSkinFolder();

    void SetDataCenter(CClientDataCenter* pDataCenter) { m_pDataCenter = pDataCenter; }
    CClientDataCenter* GetDataCenter() const { return m_pDataCenter; }

    // Creates the window from its template when it has none.
    bool CreateShop();
    // Centres and shows the window (created first when needed).
    void ShowShop();
    void ShowBuyDialog(int nItemID);
    void ClearMyItems();
    void UnregisterNotify();
    void InvalidateUserInfo();
    void GetMessageBoxSkin(HALLMSGBOXPARAMS& params) const;

    CItemCfg* GetShopItemAt(int nIndex);
    CItemCfg* FindItemCfg(int nItemID);
    const tagImageCfg* FindImageCfg(DWORD dwImageId) const;
    CItemShopManager* GetItemShopManager() { return &m_Catalogue.GetManager(); }
    void SetOwnItems(const COwnItemList* pOwnItems);
    CItemCatalogue& GetCatalogue() { return m_Catalogue; }
    CShopItemFrame& GetItemFrame() { return m_ItemFrame; }
    CMyShopItem& GetMyItemBar() { return m_MyItemBar; }
    const CRect& GetUserInfoRect() const { return m_rcUserInfo; }

    // IItemCatalogueHost
    bool FetchFile(LPCSTR pszUrl, LPCSTR pszLocalPath, int nKind) override;
    void CreateViews() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The purchase answer's text for a result code ("" for an unknown one).
    static CString BuyResultText(BYTE cbCode);

protected:
    BOOL OnInitDialog() override;
    void DrawSkinCaption(CDC* pDC) override;
    void OnOK() override {}
    void OnCancel() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFetchDone(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFetchFailed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCharge();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void LoadSkin();
    void ShowBuyResult(BYTE cbCode);

    CItemCatalogue m_Catalogue;
    CRect m_rcUserInfo;
    CShopItemFrame m_ItemFrame;
    CMyShopItem m_MyItemBar;
    CRgnButton m_btCharge;
    CPicture m_MyInfo;
    CPicture m_ItemBack;
    CPicture m_Background;
    CPicture m_Next;
    CPicture m_Prev;
    CPicture m_Buy;
    CPicture m_MyItemBack;
    CPicture m_NextM;
    CPicture m_PrevM;
    char m_szMsgBoxSkin[SKINMB_SKIN_COUNT][MAX_PATH];
    CClientDataCenter* m_pDataCenter;
};

// The process's one shop.
CItemShop* GetItemShop();
