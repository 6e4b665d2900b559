// The page buttons of the shop's item bar and item frame: both start
// disabled with their pictures and join the window's widgets once.
#pragma once

#include <ButtonWidget.h>
#include <WidgetManager.h>

class CPicture;

inline void AttachPageButtons(CWidgetManager& manager, CButtonWidget& btNext, CButtonWidget& btPrev, CPicture* pNext,
                              CPicture* pPrev)
{
    btNext.SetImageBack(pNext);
    btPrev.SetImageBack(pPrev);
    btNext.SetDisabled(true);
    btPrev.SetDisabled(true);
    if (!manager.HasWidget(&btNext))
        manager.AddWidget(&btNext);
    if (!manager.HasWidget(&btPrev))
        manager.AddWidget(&btPrev);
}
