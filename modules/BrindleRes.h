// Resource ids of Brindle.dll.
#pragma once

#define IDC_EMOTION_TAB 9001
#define IDD_EMOTION 9003
