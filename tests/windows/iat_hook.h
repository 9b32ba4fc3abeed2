// Replaces one imported function in one module's import address table until destroyed.
#pragma once

#include <windows.h>

#include <cstring>

namespace kqtest {

class IatHook {
public:
  // module: e.g. "kqmfc.dll"; importedDll: e.g. "user32.dll" (case-insensitive); function: by name.
  IatHook(const char* module, const char* importedDll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(module));
    if (base == nullptr)
      return;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
      return;
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name != 0;
         ++desc) {
      if (::lstrcmpiA(reinterpret_cast<const char*>(base + desc->Name), importedDll) != 0)
        continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
      for (; names->u1.AddressOfData != 0; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
          continue;
        auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
          continue;
        slot = reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
        original = *slot;
        write(reinterpret_cast<ULONG_PTR>(replacement));
        return;
      }
    }
  }
  ~IatHook() {
    if (slot != nullptr)
      write(original);
  }
  IatHook(const IatHook&) = delete;
  IatHook& operator=(const IatHook&) = delete;

  // False when the module does not import the function by name (the hook then does nothing).
  bool installed() const { return slot != nullptr; }

private:
  void write(ULONG_PTR value) {
    DWORD old = 0;
    ::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old);
    *slot = value;
    ::VirtualProtect(slot, sizeof(*slot), old, &old);
  }

  ULONG_PTR* slot = nullptr;
  ULONG_PTR original = 0;
};

// A replacement that fails: for a function of type F (e.g. decltype(::GlobalLock)), one returning 0.
template <class F> struct Failing;
template <class R, class... A> struct Failing<R(A...)> {
  static R WINAPI call(A...) { return R{}; }
};
template <class F> void* FailingCall() {
  return reinterpret_cast<void*>(&Failing<F>::call);
}

} // namespace kqtest
