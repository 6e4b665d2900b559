// Resource ids of the extension-library probe and of the test program.
#pragma once

#define IDR_PROBE_ONLY 4711   // only in the probe library
#define IDR_PROBE_SHARED 4712 // in the probe library and in the test program
