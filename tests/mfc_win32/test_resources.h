// Resource numbers shared by the dialog tests, the test DLLs and their resource scripts.
#pragma once

#define IDD_BOTH 150      // in the executable and in the extension DLL, with different captions
#define IDD_EXTENSION 200 // in the extension DLL only
#define IDD_MISSING 999   // nowhere
