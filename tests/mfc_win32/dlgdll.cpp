#include "dlgdll.h"

#include <afxwin.h>

INT_PTR KqTestDoModalFromDll(UINT nIDTemplate) {
  CDialog dialog(nIDTemplate);
  return dialog.DoModal();
}
