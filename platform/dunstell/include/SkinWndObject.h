// CSkinWndObject: the skin of a window: a background picture and eight
// frame pieces around it, plus a close-button picture the dialog bases use.
// Pictures are named (CSkinImage::SetLoadInfo) before the window exists or
// followed by InitSkinObject; a missing piece is left out of the drawing.
//
// Layout: the background is repeated over the client area from its top-left
// corner (plain background colour without one); the corners are drawn at
// their own size, the edges stretched between them.
#pragma once

#include "SkinImage.h"

class CSkinWndObject
{
public:
    enum
    {
        SKIN_TL,
        SKIN_TM,
        SKIN_TR,
        SKIN_L,
        SKIN_R,
        SKIN_BL,
        SKIN_BM,
        SKIN_BR,
        SKIN_BACK,
        SKIN_CLOSE,
        SKIN_IMAGE_COUNT
    };

    explicit CSkinWndObject(CWnd* pWndSkin);
    virtual ~CSkinWndObject();

    CSkinImage m_ImageTL;
    CSkinImage m_ImageTM;
    CSkinImage m_ImageTR;
    CSkinImage m_ImageL;
    CSkinImage m_ImageR;
    CSkinImage m_ImageBL;
    CSkinImage m_ImageBM;
    CSkinImage m_ImageBR;
    CSkinImage m_ImageBack;
    CSkinImage m_ImageClose;

    CSkinImage* GetSkinImage(int nSlot);
    // Loads the pictures named so far; the windows call it again after
    // pictures are renamed on a live window.
    virtual void InitSkinObject();
    // Any picture of the frame or the background holds an image.
    BOOL HasSkinPictures();

    // Background and frame over the window's client area into pDC.
    void DrawSkinView(CDC* pDC);
    // The same for a client area of cx by cy; the windows' paint hook.
    virtual void DrawSkinView(CDC* pDC, int cx, int cy);
    // Height of the top frame row (0 without top pieces).
    int GetSkinCaptionHeight();

protected:
    CWnd* m_pWndSkin;
};
