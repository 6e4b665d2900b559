// A fresh program folder under the temporary folder for the word filter and
// custom-face tests, removed with everything in it: the shared temporary
// folder, its path ending with a backslash as the program folder is given.
#pragma once

#include <string>

#include "TempFolder.h"

class CTestFolder : public CTempFolder
{
public:
    CTestFolder() : CTempFolder("hallface") {}
    std::string Path() const { return CTempFolder::Path() + "\\"; }
};
