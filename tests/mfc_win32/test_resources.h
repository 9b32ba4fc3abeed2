// Resource numbers shared by the dialog tests, the test DLLs and their resource scripts.
#pragma once

#define IDD_BOTH 150      // in the executable and in both extension DLLs, with different captions
#define IDD_EXTENSION 200 // in both extension DLLs and in the plain (unregistered) test DLL
#define IDD_MISSING 999   // nowhere
#define IDS_PROMPT 1000   // string table of the executable
