// Receives the clicks of image buttons.
#pragma once

class IButtonListener
{
public:
    virtual void ButtonClick(int nID) = 0;
    virtual void ButtonDblClk(int nID) = 0;

protected:
    ~IButtonListener() {}
};
