// An extension test DLL: registers itself with the framework when loaded and leaves when unloaded,
// as the library does; its only content is its dialog templates.
#include <afxwin.h>

static AFX_EXTENSION_MODULE extensionDLL = {};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    if (!AfxInitExtensionModule(extensionDLL, hInstance))
      return 0;
    new CDynLinkLibrary(extensionDLL);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(extensionDLL);
  }
  return 1;
}
