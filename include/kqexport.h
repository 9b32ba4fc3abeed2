// Export macro of kqmfc.dll: exported when the library itself is built, imported by hosts.
#pragma once

#if defined(_WIN32)
#if defined(KQMFC_BUILD)
#define KQMFC_API __declspec(dllexport)
#else
#define KQMFC_API __declspec(dllimport)
#endif
#else
#define KQMFC_API
#endif
