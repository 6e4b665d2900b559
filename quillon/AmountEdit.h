// An amount edit: takes ASCII digits only, whether typed, pasted or coming
// from an input method (and commas when it shows them itself).
#pragma once

#include "SkinEditEx.h"

class CAmountEdit : public CSkinEditEx
{
public:
    CAmountEdit() {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PasteDigits();
};
