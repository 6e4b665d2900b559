// CSkinCombox: a combo box framed in the skin's border colour.
#pragma once

#include <afxwin.h>

class CSkinCombox : public CComboBox
{
    DECLARE_DYNAMIC(CSkinCombox)
public:
    CSkinCombox();
    virtual ~CSkinCombox();

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
