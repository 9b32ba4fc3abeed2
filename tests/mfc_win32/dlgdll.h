// The plain test DLL: framework code living outside the executable that runs dialogs, as the
// library's input dialog does.
#pragma once

#include <windows.h>

#ifdef KQ_TEST_DLGDLL_BUILD
#define KQ_TEST_DLGDLL_API __declspec(dllexport)
#else
#define KQ_TEST_DLGDLL_API __declspec(dllimport)
#endif

// CDialog(nIDTemplate).DoModal(), run from this DLL's code.
extern "C" KQ_TEST_DLGDLL_API INT_PTR KqTestDoModalFromDll(UINT nIDTemplate);
