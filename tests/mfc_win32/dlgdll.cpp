// The plain test DLL: framework code outside the executable that runs dialogs, as the library's input
// dialog does. It is never registered as an extension module, so its own template is never found.
#include <afxwin.h>

extern "C" __declspec(dllexport) INT_PTR KqTestDoModalFromDll(UINT nIDTemplate) {
  CDialog dialog(nIDTemplate);
  return dialog.DoModal();
}
