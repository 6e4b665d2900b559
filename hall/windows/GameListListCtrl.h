// CGameListListCtrl: a list of games, each shown by its name beside its
// program's own icon, carrying the CGame* as item data.
#pragma once

#include <afxcmn.h>

#include <SkinListCtrl.h>

class CGame;

class CGameListListCtrl : public CSkinListCtrl
{
public:
    enum
    {
        IMAGE_SIZE = 18,
        IMAGE_NOT_INSTALLED = 3,
        ICON_ID = 128
    };

    CGameListListCtrl();
    virtual ~CGameListListCtrl();

    // False when a game of that id is listed already.
    bool AddGame(CGame* pGame);
    bool RemoveGame(CGame* pGame);
    // The item of the game's id, -1 when not listed.
    int FindGame(DWORD dwGameId);
    CGame* GetGame(int nItem) { return (CGame*)GetItemData(nItem); }
    // The image of the game's program icon; -1 when there is none.
    int GetGameImage(CGame* pGame);
    int GetGameIcon(LPCSTR pszPath, WORD wGameId);
    bool HasImages() const { return m_ImageList.GetSafeHandle() != NULL; }

protected:
    void PreSubclassWindow() override;
    afx_msg void OnNcPaint();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    struct tagIconCache
    {
        WORD wGameId;
        DWORD dwImage;
    };
    // Scrolls by the pixels a thumb drag to nPos stands for.
    void ThumbScroll(int nBar, int nPos);

    CImageList m_ImageList;
    CArray<tagIconCache, const tagIconCache&> m_IconCache;
};
