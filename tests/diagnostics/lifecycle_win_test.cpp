// kqmfc.dll loaded with LoadLibrary and unloaded with FreeLibrary 100 times in one process, as a host that
// links the framework would: each cycle, threads older and younger than the load attach owned and unowned
// streams and end before the unload, all but one after finish. Every record and every finished owned
// stream must be released (the unfinished one left to the host), the slot freed, the catalogue empty after
// each reload, and the process's handles and private bytes must not grow.
// This executable does not import the library.
#include <afxwin.h> // the framework first, as a host includes it

#include "iat_hook.h"
#include "kqdiagnostics.h"
#include "teardown_probe.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// The library's exports, found by their g++ names. Member functions are called with the record as
// their first argument, which is how g++ passes `this` on x64.
struct Library {
  HMODULE module = nullptr;
  KQDebugInfo& (*get)() = nullptr;
  std::ostream* (*setLogStream)(KQDebugInfo*, std::ostream*, int) = nullptr;
  std::ostream* (*setDebugStream)(KQDebugInfo*, std::ostream*, int) = nullptr;
  void (*finish)(KQDebugInfo*) = nullptr;
  const char* (*message)(long) = nullptr;
  int (*setFile)(void* manager, const char*) = nullptr;
  void* theMessage = nullptr;

  template <class F> void find(F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  bool load() {
    module = LoadLibraryA("kqmfc.dll");
    if (module == nullptr)
      return false;
    find(get, "_Z18GetDebugThreadInfov");
    find(setLogStream, "_ZN11KQDebugInfo12setLogStreamEPSoi");
    find(setDebugStream, "_ZN11KQDebugInfo14setDebugStreamEPSoi");
    find(finish, "_ZN11KQDebugInfo6finishEv");
    find(message, "_Z12KQGetMessagel");
    find(setFile, "_ZN16KQMessageManager7setFileEPKc");
    theMessage = reinterpret_cast<void*>(GetProcAddress(module, "theMessage"));
    return get && setLogStream && setDebugStream && finish && message && setFile && theMessage;
  }
};

// Counts the destruction of every record it is registered on (through its critical-error stream).
std::atomic<int> recordsDestroyed{0};
void countErase(std::ios_base::event event, std::ios_base&, int) {
  if (event == std::ios_base::erase_event)
    ++recordsDestroyed;
}
void watchRecord(KQDebugInfo& record) {
  record.CriticalErrorStream().register_callback(countErase, 0);
}

std::atomic<int> streamsDestroyed{0};
struct CountedStream : std::ostringstream {
  ~CountedStream() override { ++streamsDestroyed; }
};

// The library's record allocations, by thread, seen through its import of LocalAlloc.
struct Allocation {
  DWORD thread;
  HLOCAL block;
};
std::mutex allocationsLock;
std::vector<Allocation> allocations;
std::atomic<int> recordBlocksFreed{0};

HLOCAL WINAPI recordingLocalAlloc(UINT flags, SIZE_T bytes) {
  HLOCAL block = LocalAlloc(flags, bytes);
  std::lock_guard<std::mutex> guard(allocationsLock);
  allocations.push_back({GetCurrentThreadId(), block});
  return block;
}
HLOCAL WINAPI countingLocalFree(HLOCAL block) {
  ++recordBlocksFreed;
  return LocalFree(block);
}
HLOCAL allocatedOn(DWORD thread) {
  std::lock_guard<std::mutex> guard(allocationsLock);
  for (const Allocation& a : allocations) {
    if (a.thread == thread)
      return a.block;
  }
  return nullptr;
}

// The modules the framework's resource search asks for a resource, through its import of FindResourceA.
std::vector<HMODULE> searched;
HRSRC WINAPI recordingFindResource(HMODULE module, LPCSTR name, LPCSTR type) {
  searched.push_back(module);
  return FindResourceA(module, name, type);
}

// True when the framework's resource search, for a resource nobody has, still visits `module`.
bool searchVisits(HMODULE module) {
  kqtest::IatHook hook("kqafx.dll", "kernel32.dll", "FindResourceA",
                       reinterpret_cast<void*>(recordingFindResource));
  EXPECT_TRUE(hook.installed());
  searched.clear();
  AfxFindResourceHandle(MAKEINTRESOURCE(0x7ffe), RT_DIALOG);
  return std::find(searched.begin(), searched.end(), module) != searched.end();
}

// One thread's use of its record: an owned log stream and an unowned debug stream, then finish.
void useRecord(const Library& lib, KQDebugInfo& record, std::ostream& unowned) {
  watchRecord(record);
  lib.setLogStream(&record, new CountedStream, 1);
  lib.setDebugStream(&record, &unowned, 0);
  record.LogStream() << "owned" << std::endl;
  record.DebugStream() << "unowned" << std::endl;
  lib.finish(&record);
}

struct Figures {
  DWORD handles;
  SIZE_T privateBytes;
};
// Wine 8 answers 0 for GetProcessHandleCount and for PrivateUsage: there the handles are counted one by
// one (Wine hands out the lowest free values: this process's few dozen are all below 4096) and the private
// bytes are the committed figure, PagefileUsage, which Wine does fill in.
Figures measure() {
  Figures f{};
  EXPECT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &f.handles));
  if (f.handles == 0) {
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 4096; value += 4)
      f.handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  }
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  EXPECT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof counters));
  f.privateBytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  EXPECT_NE(f.handles, 0u);
  EXPECT_NE(f.privateBytes, 0u);
  return f;
}

// The slot holding `record` on the calling thread, or TLS_OUT_OF_INDEXES.
DWORD slotOf(const KQDebugInfo* record) {
  for (DWORD i = 0; i < TLS_MINIMUM_AVAILABLE + 1024; ++i) {
    if (TlsGetValue(i) == record)
      return i;
  }
  return TLS_OUT_OF_INDEXES;
}

// Every free slot, taken; give them back with releaseSlots.
std::vector<DWORD> takeAllSlots() {
  std::vector<DWORD> taken;
  taken.reserve(TLS_MINIMUM_AVAILABLE + 1024);
  for (DWORD i = TlsAlloc(); i != TLS_OUT_OF_INDEXES; i = TlsAlloc())
    taken.push_back(i);
  return taken;
}
void releaseSlots(const std::vector<DWORD>& taken) {
  for (DWORD i : taken)
    TlsFree(i);
}

std::string catalogueFile() {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "kq_lifecycle_messages.txt";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fputs("7 \"seven\"\n", f);
    std::fclose(f);
  }
  return path;
}

constexpr const char* kNotFound = "*** Message Not Found...\n";

// One load-use-unload cycle.
void cycle(const std::string& catalogue) {
  allocations.clear();
  recordBlocksFreed = 0;
  recordsDestroyed = 0;
  streamsDestroyed = 0;
  std::ostringstream unowned[3];

  Library lib;
  HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE loaded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  bool earlyWasFresh = false;
  const KQDebugInfo* earlyRecord = nullptr;
  std::thread early([&] { // running before the load: gets its record at its first request
    SetEvent(started);
    WaitForSingleObject(loaded, INFINITE);
    const bool noneAtAttach = allocatedOn(GetCurrentThreadId()) == nullptr;
    KQDebugInfo& record = lib.get();
    earlyRecord = &record;
    earlyWasFresh = noneAtAttach && &lib.get() == &record && record.debugStream == nullptr &&
                    record.logStream == nullptr && record.warningStream == nullptr &&
                    record.criticalErrorsHidden == 0 && record.criticalErrorStream.pcount() == 0;
    useRecord(lib, record, unowned[0]);
  });
  WaitForSingleObject(started, INFINITE);
  const bool libraryLoaded = lib.load();
  DWORD slot = TLS_OUT_OF_INDEXES;
  if (libraryLoaded) {
    // Put back before the unload: the import table goes with the module.
    kqtest::IatHook allocHook("kqmfc.dll", "kernel32.dll", "LocalAlloc",
                              reinterpret_cast<void*>(recordingLocalAlloc));
    kqtest::IatHook freeHook("kqmfc.dll", "kernel32.dll", "LocalFree",
                             reinterpret_cast<void*>(countingLocalFree));
    EXPECT_TRUE(allocHook.installed() && freeHook.installed());

    EXPECT_STREQ(lib.message(7), kNotFound) << "the catalogue kept entries across the unload";
    EXPECT_EQ(lib.setFile(lib.theMessage, catalogue.c_str()), 1);
    EXPECT_STREQ(lib.message(7), "seven");

    KQDebugInfo& mine = lib.get(); // made at load time, before the hooks
    watchRecord(mine);
    slot = slotOf(&mine);
    EXPECT_NE(slot, TLS_OUT_OF_INDEXES);

    SetEvent(loaded);
    early.join();
    EXPECT_TRUE(earlyWasFresh);
    EXPECT_NE(earlyRecord, &mine);
    for (int i = 1; i <= 2; ++i) { // younger than the load: the record exists before the first request
      std::thread([&, i] {
        const HLOCAL atAttach = allocatedOn(GetCurrentThreadId());
        const size_t before = allocations.size();
        KQDebugInfo& record = lib.get();
        EXPECT_EQ(static_cast<HLOCAL>(&record), atAttach);
        EXPECT_EQ(allocations.size(), before) << "the first request allocated";
        useRecord(lib, record, unowned[i]);
      }).join();
    }
    auto* kept = new CountedStream;
    std::thread([&] { // ends without finish: the record goes, the owned stream stays the host's
      KQDebugInfo& record = lib.get();
      watchRecord(record);
      lib.setLogStream(&record, kept, 1);
    })
        .join();
    EXPECT_EQ(allocations.size(), 4u);
    EXPECT_EQ(recordBlocksFreed, 4) << "a thread's record block was not given back when it ended";
    EXPECT_EQ(recordsDestroyed, 4);
    EXPECT_EQ(streamsDestroyed, 3) << "an owned stream outlived finish, or one went without it";
    if (streamsDestroyed == 3)
      delete kept;
    EXPECT_TRUE(searchVisits(lib.module)) << "the library did not join the framework's resource search";
  } else {
    ADD_FAILURE() << "kqmfc.dll did not load: " << GetLastError();
    SetEvent(loaded);
    early.join();
  }
  CloseHandle(started);
  CloseHandle(loaded);
  if (!libraryLoaded)
    return;

  ASSERT_TRUE(FreeLibrary(lib.module));
  EXPECT_EQ(GetModuleHandleA("kqmfc.dll"), nullptr);
  EXPECT_FALSE(searchVisits(lib.module)) << "the framework still searches the unloaded library";
  EXPECT_EQ(recordsDestroyed, 5) << "the unloading thread's record was not destroyed";
  const std::vector<DWORD> slots = takeAllSlots();
  EXPECT_NE(std::find(slots.begin(), slots.end(), slot), slots.end()) << "slot " << slot << " still taken";
  releaseSlots(slots);
  EXPECT_EQ(streamsDestroyed, 4);
}

} // namespace

TEST(Lifecycle, HundredLoadsAndUnloadsReleaseEverything) {
  ASSERT_EQ(GetModuleHandleA("kqmfc.dll"), nullptr) << "the library must not be loaded yet";
  ASSERT_NE(AfxGetResourceHandle(), nullptr); // the framework is loaded first and stays, as in a host
  const std::string catalogue = catalogueFile();
  std::vector<Figures> figures;
  for (int i = 0; i < 100 && !HasFailure(); ++i) {
    cycle(catalogue);
    figures.push_back(measure());
  }
  ASSERT_EQ(figures.size(), 100u);
  for (int at : {1, 10, 50, 100})
    std::printf("lifecycle: after cycle %3d: %lu handles, %zu private bytes\n", at, figures[at - 1].handles,
                figures[at - 1].privateBytes);
  // The first cycles settle the process (the loader's and the runtime's caches), and Wine's own
  // threads open and close a handle now and then: after 100 cycles the process holds no more than at
  // its fullest in the first 10, and at most 16 KiB more private bytes.
  Figures settled{};
  for (int i = 0; i < 10; ++i) {
    settled.handles = std::max(settled.handles, figures[i].handles);
    settled.privateBytes = std::max(settled.privateBytes, figures[i].privateBytes);
  }
  EXPECT_LE(figures[99].handles, settled.handles);
  EXPECT_LE(figures[99].privateBytes, settled.privateBytes + 16 * 1024);
  DeleteFileA(catalogue.c_str());
}

TEST(Lifecycle, LoadingFailsCleanlyWithoutAFreeSlotAndSucceedsOnceOneIsFree) {
  const std::vector<DWORD> taken = takeAllSlots();
  ASSERT_FALSE(taken.empty());
  SetLastError(0);
  HMODULE refused = LoadLibraryA("kqmfc.dll");
  const DWORD error = GetLastError();
  const bool unloaded = GetModuleHandleA("kqmfc.dll") == nullptr;
  releaseSlots(taken); // before any assertion: the test framework itself may need a slot
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  EXPECT_TRUE(unloaded);

  // Nothing of the refused load stays in the framework: the next load maps the library at the same
  // place, and its resource search must visit it once, not also for the refused load.
  Library lib;
  ASSERT_TRUE(lib.load());
  searchVisits(lib.module);
  EXPECT_EQ(std::count(searched.begin(), searched.end(), lib.module), 1);

  // Loaded for the rest of the process, so that its detach at exit is watched too.
  kqtest::WatchModuleTeardown();
  KQDebugInfo& mine = lib.get();
  EXPECT_NE(slotOf(&mine), TLS_OUT_OF_INDEXES);
  EXPECT_STREQ(lib.message(7), kNotFound);
}
