// The resource search and extension modules: the chain of CDynLinkLibrary objects in registration
// order, AfxInitExtensionModule/AfxTermExtensionModule and AfxFindResourceHandle.
#include "afximpl.h"

#include <atomic>
#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

namespace {
std::atomic<HINSTANCE> g_hResource{nullptr};

// Constructed and destroyed from DllMain of the modules (under the loader lock): the lock is held only
// to link and unlink, never while calling the system.
struct ModuleChain {
  std::mutex lock;
  CDynLinkLibrary* pHead = nullptr;
};

ModuleChain& Chain() {
  static ModuleChain chain;
  return chain;
}

void Append(CDynLinkLibrary* pDLL) {
  ModuleChain& chain = Chain();
  std::lock_guard<std::mutex> guard(chain.lock);
  CDynLinkLibrary** ppLink = &chain.pHead;
  while (*ppLink != nullptr)
    ppLink = &(*ppLink)->m_pNextDLL;
  *ppLink = pDLL;
}

// FALSE when pDLL is not in the chain.
bool Unlink(CDynLinkLibrary* pDLL) {
  ModuleChain& chain = Chain();
  std::lock_guard<std::mutex> guard(chain.lock);
  for (CDynLinkLibrary** ppLink = &chain.pHead; *ppLink != nullptr; ppLink = &(*ppLink)->m_pNextDLL) {
    if (*ppLink == pDLL) {
      *ppLink = pDLL->m_pNextDLL;
      pDLL->m_pNextDLL = nullptr;
      return true;
    }
  }
  return false;
}

// The resource modules to search after the main one: non-system modules, then system ones, each in
// registration order.
std::vector<HMODULE> SearchOrder() {
  std::vector<HMODULE> modules;
  ModuleChain& chain = Chain();
  std::lock_guard<std::mutex> guard(chain.lock);
  for (int pass = 0; pass < 2; ++pass) {
    for (CDynLinkLibrary* p = chain.pHead; p != nullptr; p = p->m_pNextDLL) {
      if ((p->m_bSystem != 0) == (pass == 1) && p->m_hResource != nullptr)
        modules.push_back(p->m_hResource);
    }
  }
  return modules;
}
} // namespace

HINSTANCE AFXAPI AfxGetResourceHandle() {
  HINSTANCE hResource = g_hResource.load();
  return hResource != nullptr ? hResource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) {
  g_hResource.store(hInstResource);
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
  HINSTANCE hMain = AfxGetResourceHandle();
  if (::FindResourceA(hMain, lpszName, lpszType) != nullptr)
    return hMain;
  for (HMODULE hModule : SearchOrder()) {
    if (::FindResourceA(hModule, lpszName, lpszType) != nullptr)
      return hModule;
  }
  return hMain;
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (state.bInitialized)
    return TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  state.bInitialized = TRUE;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  std::vector<CDynLinkLibrary*> doomed;
  {
    ModuleChain& chain = Chain();
    std::lock_guard<std::mutex> guard(chain.lock);
    for (CDynLinkLibrary* p = chain.pHead; p != nullptr; p = p->m_pNextDLL) {
      if (p->m_hModule == state.hModule)
        doomed.push_back(p);
    }
  }
  for (CDynLinkLibrary* p : doomed)
    delete p; // unlinks itself
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem), m_pNextDLL(nullptr) {
  Append(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE), m_pNextDLL(nullptr) {
  Append(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  Unlink(this);
}
