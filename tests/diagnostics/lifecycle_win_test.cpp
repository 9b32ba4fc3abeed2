// kqmfc.dll loaded and unloaded at run time by a host that links the framework (and not the library).
#include <afxwin.h> // the framework first, as a host includes it

#include "iat_hook.h"
#include "kqdiagnostics.h"
#include "teardown_probe.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Library {
  HMODULE module = nullptr;
  KQDebugInfo& (*get)() = nullptr;
  bool load() {
    module = LoadLibraryA("kqmfc.dll");
    get = reinterpret_cast<decltype(get)>(reinterpret_cast<void*>(
        module != nullptr ? GetProcAddress(module, "_Z18GetDebugThreadInfov") : nullptr));
    return get != nullptr;
  }
};

// Records destroyed (through their critical-error streams), owned streams destroyed.
std::atomic<int> recordsDestroyed{0}, streamsDestroyed{0};
void countErase(std::ios_base::event event, std::ios_base&, int) {
  recordsDestroyed += event == std::ios_base::erase_event;
}
struct CountedStream : std::ostringstream {
  ~CountedStream() override { ++streamsDestroyed; }
};

// How often the framework's search for a resource nobody has visits `module`.
std::vector<HMODULE> searched;
HRSRC WINAPI recordingFindResource(HMODULE module, LPCSTR name, LPCSTR type) {
  searched.push_back(module);
  return FindResourceA(module, name, type);
}
long searchVisits(HMODULE module) {
  kqtest::IatHook hook("kqafx.dll", "kernel32.dll", "FindResourceA",
                       reinterpret_cast<void*>(recordingFindResource));
  EXPECT_TRUE(hook.installed());
  searched.clear();
  AfxFindResourceHandle(MAKEINTRESOURCE(0x7ffe), RT_DIALOG);
  return std::count(searched.begin(), searched.end(), module);
}

// The process's private bytes; Wine 8 answers 0 for PrivateUsage but fills in PagefileUsage.
SIZE_T privateBytes() {
  PROCESS_MEMORY_COUNTERS_EX c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
  return c.PrivateUsage != 0 ? c.PrivateUsage : c.PagefileUsage;
}

// Every free TLS slot, taken while the object lives.
struct AllSlots {
  std::vector<DWORD> taken;
  AllSlots() {
    for (DWORD i = TlsAlloc(); i != TLS_OUT_OF_INDEXES; i = TlsAlloc())
      taken.push_back(i);
  }
  ~AllSlots() {
    for (DWORD i : taken)
      TlsFree(i);
  }
};
DWORD slotOf(const KQDebugInfo* record) {
  for (DWORD i = 0; i < TLS_MINIMUM_AVAILABLE + 1024; ++i)
    if (TlsGetValue(i) == record)
      return i;
  return TLS_OUT_OF_INDEXES;
}

// Load, use, unload: a thread older than the load and three younger, each leaving an owned stream.
void cycle() {
  recordsDestroyed = streamsDestroyed = 0;
  Library lib;
  DWORD slot = TLS_OUT_OF_INDEXES;
  std::vector<std::ostream*> streams;
  auto use = [&](bool atAttach) {
    const void* before = TlsGetValue(slot);
    KQDebugInfo& record = lib.get();
    EXPECT_EQ(before, atAttach ? &record : nullptr);
    EXPECT_EQ(&lib.get(), &record);
    record.CriticalErrorStream().register_callback(countErase, 0);
    streams.push_back(record.logStream = new CountedStream);
    record.ownsLogStream = 1;
  };
  // Win32 events: a version with std::latch hung now and then under Wine.
  HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr),
         loaded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread early([&] { // older than the load: its record comes at its first request
    SetEvent(started);
    WaitForSingleObject(loaded, INFINITE);
    if (slot != TLS_OUT_OF_INDEXES)
      use(false);
  });
  WaitForSingleObject(started, INFINITE); // a thread still starting would be attached like a younger one
  const bool libraryLoaded = lib.load();
  if (libraryLoaded) {
    KQDebugInfo& mine = lib.get(); // made at load time
    mine.CriticalErrorStream().register_callback(countErase, 0);
    slot = slotOf(&mine);
  }
  SetEvent(loaded);
  early.join();
  CloseHandle(started);
  CloseHandle(loaded);
  ASSERT_TRUE(libraryLoaded && slot != TLS_OUT_OF_INDEXES) << GetLastError();
  for (int i = 0; i < 3; ++i) // younger: the record exists before the first request
    std::thread(use, true).join();
  EXPECT_EQ(recordsDestroyed, 4);
  EXPECT_EQ(streamsDestroyed, 0) << "a thread's end deleted an owned stream (it is left to finish)";
  for (std::ostream* stream : streams)
    delete stream;
  EXPECT_EQ(searchVisits(lib.module), 1) << "the library did not join the framework's resource search";
  ASSERT_TRUE(FreeLibrary(lib.module));
  EXPECT_EQ(GetModuleHandleA("kqmfc.dll"), nullptr);
  EXPECT_EQ(searchVisits(lib.module), 0) << "the framework still searches the unloaded library";
  EXPECT_EQ(recordsDestroyed, 5) << "the unloading thread's record was not destroyed";
  const bool slotFreed = [slot] {
    const AllSlots all;
    return std::find(all.taken.begin(), all.taken.end(), slot) != all.taken.end();
  }();
  EXPECT_TRUE(slotFreed) << "slot " << slot << " still taken";
}

// The C++ runtime's next allocation of `failingSize` bytes fails.
std::atomic<size_t> failingSize{0};
void* __cdecl failingMalloc(size_t bytes) {
  size_t expected = bytes;
  if (bytes != 0 && failingSize.compare_exchange_strong(expected, 0))
    return nullptr;
  return std::malloc(bytes);
}

} // namespace

TEST(Lifecycle, HundredLoadsAndUnloadsReleaseEverything) {
  ASSERT_EQ(GetModuleHandleA("kqmfc.dll"), nullptr) << "the library must not be loaded yet";
  ASSERT_NE(AfxGetResourceHandle(), nullptr); // the framework is loaded first and stays, as in a host
  SIZE_T settled = 0; // the first cycles settle the process (the loader's and the runtime's caches)
  for (int i = 0; i < 100 && !HasFailure(); ++i) {
    cycle();
    settled = i < 10 ? std::max(settled, privateBytes()) : settled;
  }
  EXPECT_LE(privateBytes(), settled + 16 * 1024);
}

// No memory for the framework registration: loaded all the same, outside the search. No free slot: the
// load fails, leaving nothing behind.
TEST(Lifecycle, LoadsWithoutTheRegistrationAndFailsCleanlyWithoutASlot) {
  Library lib;
  {
    kqtest::IatHook hook("libstdc++-6.dll", "msvcrt.dll", "malloc", reinterpret_cast<void*>(failingMalloc));
    ASSERT_TRUE(hook.installed());
    failingSize = sizeof(CDynLinkLibrary);
    ASSERT_TRUE(lib.load()) << GetLastError();
    EXPECT_EQ(failingSize.exchange(0), 0u) << "the registration was not allocated";
  }
  EXPECT_EQ(searchVisits(lib.module), 0);
  EXPECT_NE(slotOf(&lib.get()), TLS_OUT_OF_INDEXES) << "the library has no thread-local slot";
  ASSERT_TRUE(FreeLibrary(lib.module));

  HMODULE refused = nullptr;
  DWORD error = 0;
  bool unloaded = false;
  { // no assertion while every slot is taken: the test framework itself may need one
    const AllSlots all;
    SetLastError(0);
    refused = LoadLibraryA("kqmfc.dll");
    error = GetLastError();
    unloaded = GetModuleHandleA("kqmfc.dll") == nullptr;
  }
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  EXPECT_TRUE(unloaded);

  // The next load maps at the same place: a registration left by the refused load would be visited too.
  ASSERT_TRUE(lib.load());
  EXPECT_EQ(searchVisits(lib.module), 1);
  EXPECT_NE(slotOf(&lib.get()), TLS_OUT_OF_INDEXES);
  kqtest::WatchModuleTeardown(); // loaded for the rest of the process: its detach at exit is watched too
}
