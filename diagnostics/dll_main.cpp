// Entry point of kqmfc.dll: framework registration, the thread-local slot and one record per thread.
#include "kqdiagnostics.h"

#include <afxwin.h>

#include <new>

namespace {
AFX_EXTENSION_MODULE extensionModule = {};
DWORD tlsIndex = TLS_OUT_OF_INDEXES;

// A record in a zero-filled block of the local heap, or null when no block (or record) could be made.
KQDebugInfo* createRecord() noexcept {
  void* block = LocalAlloc(LMEM_ZEROINIT, sizeof(KQDebugInfo));
  if (block == nullptr)
    return nullptr;
  try {
    return new (block) KQDebugInfo();
  } catch (...) {
    LocalFree(block);
    return nullptr;
  }
}

void destroyThreadRecord() noexcept {
  auto* record = static_cast<KQDebugInfo*>(TlsGetValue(tlsIndex));
  if (record != nullptr) {
    record->~KQDebugInfo();
    LocalFree(record);
    TlsSetValue(tlsIndex, nullptr);
  }
}

void attachThread() noexcept {
  if (KQDebugInfo* record = createRecord())
    TlsSetValue(tlsIndex, record);
}
} // namespace

KQDebugInfo& GetDebugThreadInfo() {
  auto* record = static_cast<KQDebugInfo*>(TlsGetValue(tlsIndex));
  if (record == nullptr) {
    record = createRecord();
    if (record == nullptr)
      throw std::bad_alloc();
  }
  TlsSetValue(tlsIndex, record);
  return *record;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
  case DLL_PROCESS_ATTACH:
    AfxInitExtensionModule(extensionModule, instance);
    try {
      new CDynLinkLibrary(extensionModule); // handed to the framework, which keeps it
    } catch (const std::bad_alloc&) {
      // Without it the library's resources are not searched; the library still works.
    } catch (CMemoryException* e) { // what new throws in a module of the framework
      e->Delete();
    }
    tlsIndex = TlsAlloc();
    if (tlsIndex == TLS_OUT_OF_INDEXES) {
      // The load fails: leave nothing of this module in the framework's resource search.
      AfxTermExtensionModule(extensionModule);
      return FALSE;
    }
    attachThread();
    return TRUE;
  case DLL_THREAD_ATTACH:
    attachThread();
    return TRUE;
  case DLL_THREAD_DETACH:
    destroyThreadRecord();
    return TRUE;
  case DLL_PROCESS_DETACH:
    if (tlsIndex != TLS_OUT_OF_INDEXES) {
      destroyThreadRecord();
      TlsFree(tlsIndex);
      tlsIndex = TLS_OUT_OF_INDEXES;
    }
    // Unloaded while the process goes on (FreeLibrary, or a load that failed): the framework stays and
    // would go on searching this module's resources after its memory is gone, so it leaves the search.
    // At process exit the framework goes too and is left alone.
    if (reserved == nullptr)
      AfxTermExtensionModule(extensionModule);
    return TRUE;
  default:
    return TRUE;
  }
}
