// CSkinRichEdit: a rich edit whose border is drawn in the skin's border colour.
#pragma once

#include <afxcmn.h>

class CSkinRichEdit : public CRichEditCtrl
{
    DECLARE_DYNAMIC(CSkinRichEdit)
public:
    CSkinRichEdit();
    virtual ~CSkinRichEdit();

protected:
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};
