// The emotion picker's page tabs, painted from two pictures: the tab
// background and a strip whose left half is the selected tab and whose right
// half the others.
#pragma once

#include <afxcmn.h>

#include "Picture.h"

class CTabCtrlEmotion : public CTabCtrl
{
public:
    CTabCtrlEmotion();
    ~CTabCtrlEmotion() override;

    // Either may be missing; what is missing is not drawn.
    void LoadPictures(const char* tabStrip, const char* background);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CPicture m_Selected; // left half of the strip
    CPicture m_Other;    // right half
    CPicture m_Background;
};
