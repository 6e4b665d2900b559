// CSkinMenuEx: the skinned pop-up menu with a light background, its own
// separator look and an icon per command id, taken from one picture or
// from an image list.
#pragma once

#include <SkinMenu.h>

#include <Picture.h>
#include <afxcmn.h>
#include <afxtempl.h>

class CSkinMenuEx : public CSkinMenu
{
public:
    // Icon kinds: the menu picture, or an image of the image list.
    enum
    {
        kIconPicture = 1,
        kIconListFirst = 2,
        kIconListLast = 5
    };
    struct ICON_ENTRY
    {
        int nKind;
        int nValue;
    };

    CSkinMenuEx();
    virtual ~CSkinMenuEx();

    // The picture of kind-1 items: a copy of the bitmap, drawn at this size.
    void SetMenuImage(HBITMAP hBitmap, int nWidth, int nHeight, COLORREF crTransparent);
    void SetItemImage(UINT nID, int nKind, int nValue);
    // Only the first call that loads makes the image list; later calls keep it.
    BOOL LoadImageList(LPCSTR lpszFile, int cx, int cy);

    CImageList* GetImageList() { return &m_ImageList; }
    BOOL GetItemImage(UINT nID, ICON_ENTRY& entry) const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

private:
    void DrawIcon(CDC* pDC, UINT nID, const CRect& rcItem);

    CImageList m_ImageList;
    CMap<UINT, UINT, ICON_ENTRY, const ICON_ENTRY&> m_IconMap;
    CPicture m_MenuPicture;
    int m_nPictureWidth;
    int m_nPictureHeight;
};
