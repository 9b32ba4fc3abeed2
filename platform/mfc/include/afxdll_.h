// afxdll_.h: extension modules. A DLL that shares the host's framework registers itself in its DllMain:
//
//   static AFX_EXTENSION_MODULE extensionDLL = {};
//   extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
//     if (dwReason == DLL_PROCESS_ATTACH) {
//       if (!AfxInitExtensionModule(extensionDLL, hInstance)) return 0;
//       new CDynLinkLibrary(extensionDLL);    // joins the resource search; owned by the framework
//     } else if (dwReason == DLL_PROCESS_DETACH) {
//       AfxTermExtensionModule(extensionDLL); // leaves it
//     }
//     return 1;
//   }
// Included by afxwin.h.
#pragma once

class COleObjectFactory;

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
  CRuntimeClass* pFirstSharedClass;       // not used here
  COleObjectFactory* pFirstSharedFactory; // not used here
};

// Records hModule as the module and its resource module. TRUE (also when already initialised, which
// changes nothing).
KQAFX_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Removes and deletes every CDynLinkLibrary of state.hModule (bAll is accepted and not needed here)
// and marks state as not initialised. Call at DLL_PROCESS_DETACH.
KQAFX_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// One module in the framework's resource search, in the order of construction. Allocate it with new
// and leave it to the framework: AfxTermExtensionModule deletes it (deleting it earlier also removes
// it from the search). Safe to construct and destroy from any thread.
class KQAFX_API CDynLinkLibrary : public CCmdTarget {
  DECLARE_DYNAMIC(CDynLinkLibrary)
public:
  // bSystem TRUE: searched after every non-system module.
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
  ~CDynLinkLibrary() override;

  HMODULE m_hModule;
  HMODULE m_hResource; // searched for resources
  BOOL m_bSystem;
  CDynLinkLibrary* m_pNextDLL; // the next module in the search
};
