// The option dialog's hot-key control: a one-pixel frame in the dialog's
// blue instead of the system border.
#pragma once

#include <afxcmn.h>

class COptionHotKeyCtrl : public CHotKeyCtrl
{
    DECLARE_DYNAMIC(COptionHotKeyCtrl)
public:
    COptionHotKeyCtrl();
    virtual ~COptionHotKeyCtrl();

protected:
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};
