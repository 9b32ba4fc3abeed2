// The application object (CWinThread, CWinApp), its name and AfxWinMain.
#include "afximpl.h"

#include <atomic>
#include <cstring>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
std::atomic<CWinApp*> g_pApp{nullptr};

// The executable's file name without folder and extension.
CString ExecutableBaseName() {
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  path[n < MAX_PATH ? n : 0] = '\0';
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/')
      name = p + 1;
  }
  const char* dot = std::strrchr(name, '.');
  return CString(name, static_cast<int>(dot != nullptr ? dot - name : std::strlen(name)));
}

// The executable's AFX_IDS_APP_TITLE string, empty when it has none.
CString ApplicationTitle(HINSTANCE hInstance) {
  char title[256] = {};
  const int n = ::LoadStringA(hInstance, AFX_IDS_APP_TITLE, title, sizeof title);
  return CString(title, n > 0 ? n : 0);
}
} // namespace

BOOL CWinThread::InitInstance() {
  return TRUE;
}

int CWinThread::Run() {
  while (PumpMessage()) {
  }
  return ExitInstance();
}

BOOL CWinThread::PumpMessage() {
  MSG msg = {};
  const BOOL bResult = ::GetMessageA(&msg, nullptr, 0, 0);
  if (bResult == 0 || bResult == -1) {
    m_nExitCode = bResult == 0 ? static_cast<int>(msg.wParam) : -1;
    return FALSE;
  }
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  return CWnd::WalkPreTranslateTree(AfxGetMainWnd()->GetSafeHwnd(), pMsg);
}

int CWinThread::ExitInstance() {
  return m_nExitCode;
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(nullptr), m_pszExeName(nullptr), m_hInstance(::GetModuleHandleA(nullptr)),
      m_strExeName(ExecutableBaseName()) {
  if (lpszAppName != nullptr)
    m_strAppName = lpszAppName;
  else if ((m_strAppName = ApplicationTitle(m_hInstance)).IsEmpty())
    m_strAppName = m_strExeName;
  m_pszAppName = m_strAppName;
  m_pszExeName = m_strExeName;
  CWinApp* pNone = nullptr;
  VERIFY(g_pApp.compare_exchange_strong(pNone, this)); // one application at a time
}

CWinApp::~CWinApp() {
  CWinApp* pThis = this;
  g_pApp.compare_exchange_strong(pThis, nullptr);
}

CWinApp* AFXAPI AfxGetApp() {
  return g_pApp.load();
}

CWnd* AFXAPI AfxGetMainWnd() {
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr ? pApp->m_pMainWnd : nullptr;
}

LPCTSTR AFXAPI AfxGetAppName() {
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pszAppName != nullptr)
    return pApp->m_pszAppName;
  static const CString exeName = ExecutableBaseName();
  return exeName;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr ? pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR, int) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr)
    return -1;
  if (hInstance != nullptr)
    pApp->m_hInstance = hInstance;
  if (!pApp->InitInstance()) {
    if (pApp->m_pMainWnd != nullptr)
      pApp->m_pMainWnd->DestroyWindow();
    return pApp->ExitInstance();
  }
  return pApp->Run();
}
