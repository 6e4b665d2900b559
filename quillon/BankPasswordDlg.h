// Sets the strong-box password the first time (initialisation mode, no old
// password) or changes it.
#pragma once

#include "TabDlg.h"

class CBankPasswordDlg : public CTabDlg
{
public:
    CBankPasswordDlg();

    void SetInitMode(bool bInit);
    bool IsInitMode() const { return m_bInitMode; }
    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter* pDataCenter) override;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnPasswordChange();
    DECLARE_MESSAGE_MAP()

    bool m_bInitMode;
    bool m_bRefreshing;
};
