// Every module loaded from the program's folder gets its entry point wrapped in the loader's list; a
// detach that throws unwinds past the wrapper, so the marker is missing. Faults in the build's code or
// outside every module are reported on standard error, handled or not.
#include "teardown_probe.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

namespace kqtest {
namespace {

using EntryPoint = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

struct Watched {
  EntryPoint original = nullptr;
  bool attached = false;
};

constexpr int kSlots = 24;
Watched watched[kSlots];
char folder[MAX_PATH]; // the program's folder, with its final backslash
size_t folderLength = 0;

void writeLine(DWORD handle, const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(handle), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

template <int N> BOOL WINAPI wrapper(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  const BOOL result = watched[N].original(instance, reason, reserved);
  if (reason == DLL_PROCESS_DETACH) {
    watched[N].attached = false;
    if (reserved == nullptr)
      return result; // unloaded at run time: the slot may watch another module
    if (std::none_of(std::begin(watched), std::end(watched), [](const Watched& w) { return w.attached; })) {
      writeLine(STD_OUTPUT_HANDLE, kTeardownMarker);
      writeLine(STD_OUTPUT_HANDLE, "\n");
    }
  }
  return result;
}

template <int... N> constexpr std::array<EntryPoint, kSlots> wrappersOf(std::integer_sequence<int, N...>) {
  return {&wrapper<N>...};
}
constexpr std::array<EntryPoint, kSlots> wrappers = wrappersOf(std::make_integer_sequence<int, kSlots>());

bool fromBuild(HMODULE module) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return length > folderLength && _strnicmp(path, folder, folderLength) == 0;
}

bool isFault(DWORD code) {
  static const DWORD faults[] = {EXCEPTION_ACCESS_VIOLATION,       EXCEPTION_ILLEGAL_INSTRUCTION,
                                 EXCEPTION_PRIV_INSTRUCTION,       EXCEPTION_INT_DIVIDE_BY_ZERO,
                                 EXCEPTION_STACK_OVERFLOW,         EXCEPTION_IN_PAGE_ERROR,
                                 EXCEPTION_DATATYPE_MISALIGNMENT,  EXCEPTION_NONCONTINUABLE_EXCEPTION,
                                 0xC0000374 /* heap corruption */, 0xC0000409 /* stack buffer overrun */};
  return std::find(std::begin(faults), std::end(faults), code) != std::end(faults);
}

LONG CALLBACK reportFault(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if (!isFault(record.ExceptionCode))
    return EXCEPTION_CONTINUE_SEARCH;
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     static_cast<LPCSTR>(record.ExceptionAddress), &module);
  // Wine's own modules fault and recover on purpose; a fault in the build's code or at an address
  // outside every module (a call into an unloaded DLL) is a bug.
  if (module != nullptr && !fromBuild(module))
    return EXCEPTION_CONTINUE_SEARCH;
  char name[MAX_PATH] = "no module";
  if (module != nullptr)
    GetModuleFileNameA(module, name, MAX_PATH);
  char line[MAX_PATH + 96];
  std::snprintf(line, sizeof line, "kqtest: fault 0x%08lx at %p in %s\n", record.ExceptionCode,
                record.ExceptionAddress, name);
  writeLine(STD_ERROR_HANDLE, line);
  return EXCEPTION_CONTINUE_SEARCH;
}

struct Arm {
  Arm() {
    folderLength = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    while (folderLength > 0 && folder[folderLength - 1] != '\\')
      --folderLength;
    AddVectoredExceptionHandler(1, reportFault);
    WatchModuleTeardown();
  }
} arm;

} // namespace

void WatchModuleTeardown() {
  // GCC takes the segment read behind NtCurrentTeb for an access to an empty array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  LIST_ENTRY* head = &NtCurrentTeb()->ProcessEnvironmentBlock->Ldr->InMemoryOrderModuleList;
#pragma GCC diagnostic pop
  void* program = GetModuleHandleA(nullptr);
  for (LIST_ENTRY* link = head->Flink; link != head; link = link->Flink) {
    auto* entry = CONTAINING_RECORD(link, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
    // Reserved3[0] is the module's entry point, which the loader calls for every notification.
    auto& entryPoint = reinterpret_cast<EntryPoint&>(entry->Reserved3[0]);
    if (entry->DllBase == program || entryPoint == nullptr ||
        !fromBuild(static_cast<HMODULE>(entry->DllBase)))
      continue;
    bool known = std::find(wrappers.begin(), wrappers.end(), entryPoint) != wrappers.end();
    for (int i = 0; i < kSlots && !known; ++i) {
      if (!watched[i].attached) {
        watched[i] = {entryPoint, true};
        entryPoint = wrappers[i];
        known = true;
      }
    }
  }
}

} // namespace kqtest
