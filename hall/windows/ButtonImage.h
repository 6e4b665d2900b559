// CButtonImage: a button drawn from a picture of five states side by side,
// without a window of its own: its owner draws it and hit-tests its rectangle.
#pragma once

#include <afxwin.h>

class CPicture;

class CButtonImage
{
public:
    enum
    {
        STATE_COUNT = 5
    };

    CButtonImage();

    // The picture (not owned) and the top-left corner; the button is a fifth
    // of the picture wide and as high as the picture.
    void SetImage(CPicture* pPicture, int x, int y);
    void SetState(int nState);
    int GetState() const { return m_nState; }
    const CRect& GetRect() const { return m_rcButton; }
    void OffsetRect(int dx, int dy) { m_rcButton.OffsetRect(dx, dy); }
    // Only the cell of the current state shows inside the rectangle.
    void Draw(CDC* pDC) const;

private:
    CPicture* m_pPicture;
    int m_nState;
    CRect m_rcButton;
};
