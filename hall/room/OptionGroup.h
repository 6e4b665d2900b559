// A group frame of the option dialog: a blue frame on a pale background
// with its caption at the top left.
#pragma once

#include <afxwin.h>

class COptionGroup : public CStatic
{
    DECLARE_DYNAMIC(COptionGroup)
public:
    COptionGroup();
    virtual ~COptionGroup();

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CFont m_Font;
};
