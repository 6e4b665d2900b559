// What the doubles of the hall's other windows saw.
#pragma once

#include <string>
#include <vector>

struct tagNeighbourLog
{
    std::vector<std::string> shownWebPages;
    int beginWait = 0;
    int endWait = 0;
};

extern tagNeighbourLog g_NeighbourLog;
