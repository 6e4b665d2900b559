// Export switch of the widget library: the hall imports these classes.
#pragma once

#if defined(TALMORI_BUILDING)
#define TALMORI_API __declspec(dllexport)
#else
#define TALMORI_API __declspec(dllimport)
#endif
