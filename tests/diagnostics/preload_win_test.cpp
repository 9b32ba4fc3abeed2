// A thread that was running before kqmfc.dll was loaded gets its record at its first request.
// This executable does not import the library: it loads it at run time.
#include "kqdiagnostics.h"
#include "teardown_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

TEST(Preload, AThreadOlderThanTheLibraryGetsAFreshRecord) {
  ASSERT_EQ(GetModuleHandleA("kqmfc.dll"), nullptr) << "the library must not be loaded yet";
  HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE loaded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  using GetRecord = KQDebugInfo& (*)();
  GetRecord get = nullptr;
  KQDebugInfo* older = nullptr;
  KQDebugInfo* olderAgain = nullptr;
  bool fresh = false;
  std::thread early([&] {
    SetEvent(started); // past its start-up, so the loader will not attach the library to it
    WaitForSingleObject(loaded, INFINITE);
    older = &get();
    olderAgain = &get();
    // Looked at here: the record is released when this thread ends.
    fresh = older->debugStream == nullptr && older->logStream == nullptr && older->warningStream == nullptr &&
            older->criticalErrorsHidden == 0 && older->criticalErrorStream.pcount() == 0;
  });

  WaitForSingleObject(started, INFINITE);
  HMODULE library = LoadLibraryA("kqmfc.dll");
  ASSERT_NE(library, nullptr);
  kqtest::WatchModuleTeardown();
  // GetDebugThreadInfo under g++'s mangling.
  get = reinterpret_cast<GetRecord>(
      reinterpret_cast<void*>(GetProcAddress(library, "_Z18GetDebugThreadInfov")));
  ASSERT_NE(get, nullptr);
  SetEvent(loaded);
  early.join();
  CloseHandle(started);
  CloseHandle(loaded);

  ASSERT_NE(older, nullptr);
  EXPECT_EQ(older, olderAgain);
  EXPECT_NE(&get(), older); // the loading thread got its own record at load time
  EXPECT_TRUE(fresh);
}
