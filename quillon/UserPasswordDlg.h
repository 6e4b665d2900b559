// The login password page: old password, new password and its repetition.
#pragma once

#include "TabDlg.h"

class CUserPasswordDlg : public CTabDlg
{
public:
    CUserPasswordDlg();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter* pDataCenter) override;
};
