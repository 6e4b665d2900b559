// Header button of a tab: push style, reports a press only while released.
#pragma once

#include "ButtonWidget.h"

class TALMORI_API CTabItemButtonWidget : public CButtonWidget
{
    friend class CTabWidget;

public:
    CTabItemButtonWidget();
    virtual ~CTabItemButtonWidget();

    void LButtonDown(int x, int y) override;

    BOOL CreateListener(int nID, IButtonListener* pListener, const char* pszText);
};
