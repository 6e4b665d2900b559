// Sits between a host window and its widget manager: every window message of
// the host passes through BuildEvent, which drives the manager, the mouse
// capture and the host's focus state.
#pragma once

#include <afxwin.h>

#include "TalmoriApi.h"

class CWidgetManager;

class TALMORI_API CEventBuildHelper
{
public:
    explicit CEventBuildHelper(CWidgetManager* pManager);
    virtual ~CEventBuildHelper();

    void BuildEvent(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RehupFocus();
    void ClearKeysDown();
    void BeginPopup();
    void EndPopup();

protected:
    void ReleaseButton(int x, int y, int nCode, int nBit);

protected:
    CWidgetManager* m_pManager;
    bool m_bWindowFocused;
    bool m_bWindowMinimized;
    bool m_bEffectiveFocus;

private:
    CEventBuildHelper(const CEventBuildHelper&) = delete;
    CEventBuildHelper& operator=(const CEventBuildHelper&) = delete;
};
