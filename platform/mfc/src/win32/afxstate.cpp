// Per-thread state of the framework layer in a TLS slot, and kqafx.dll's entry point, which reserves
// the slot and frees each thread's state (and its temporary objects) when the thread detaches.
#include "afximpl.h"

#include <new>

HINSTANCE g_hKqafxModule = nullptr;

namespace {
DWORD g_tlsIndex = TLS_OUT_OF_INDEXES;

void FreeThreadState() noexcept {
  if (g_tlsIndex == TLS_OUT_OF_INDEXES)
    return;
  delete static_cast<AfxThreadState*>(::TlsGetValue(g_tlsIndex));
  ::TlsSetValue(g_tlsIndex, nullptr);
}
} // namespace

AfxThreadState::~AfxThreadState() {
  for (auto& [key, entry] : temps)
    entry.pfnRelease(entry.pObject);
}

void AfxThreadState::DeleteDispatchTemps() noexcept {
  for (auto it = temps.begin(); it != temps.end();) {
    if (it->second.bPinned) {
      ++it;
      continue;
    }
    it->second.pfnRelease(it->second.pObject);
    it = temps.erase(it);
  }
}

AfxThreadState* AfxGetThreadState() {
  auto* pState = static_cast<AfxThreadState*>(::TlsGetValue(g_tlsIndex));
  if (pState == nullptr) {
    pState = new AfxThreadState;
    ::TlsSetValue(g_tlsIndex, pState);
  }
  return pState;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  switch (dwReason) {
  case DLL_PROCESS_ATTACH:
    g_hKqafxModule = hInstance;
    g_tlsIndex = ::TlsAlloc();
    return g_tlsIndex != TLS_OUT_OF_INDEXES;
  case DLL_THREAD_DETACH:
    FreeThreadState();
    break;
  case DLL_PROCESS_DETACH:
    FreeThreadState();
    if (g_tlsIndex != TLS_OUT_OF_INDEXES)
      ::TlsFree(g_tlsIndex);
    g_tlsIndex = TLS_OUT_OF_INDEXES;
    break;
  default:
    break;
  }
  return TRUE;
}
