// Win32 only. What the benchmarks that open windows share: saying which Wine configuration they run in,
// waiting for worker threads while dispatching the window thread's messages, and the working set.
#pragma once

#include "bench_report.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kqbench {

// A REG_SZ value under HKEY_CURRENT_USER, or "" when absent.
inline std::string userSetting(const char* key, const char* name) {
  char value[64] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::string();
  return value;
}

// Prints the look and graphics driver the windows get, as read from the prefix's registry.
inline void describeDisplay() {
  const std::string theme =
      userSetting("Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", "ThemeActive");
  const std::string graphics = userSetting("Software\\Wine\\Drivers", "Graphics");
  std::printf("# display: %s look (ThemeActive=%s), %s graphics driver (Graphics=%s)\n",
              theme == "0" ? "classic" : "themed", theme.empty() ? "unset" : theme.c_str(),
              graphics == "null" ? "null (headless)" : "default",
              graphics.empty() ? "unset" : graphics.c_str());
}

// Dispatches every message waiting for the calling thread.
inline void pumpPending() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// Runs body(index) on `count` new threads and waits for all of them while dispatching the calling
// thread's messages (its windows are painted and answer the workers' sent messages meanwhile).
// Gives the seconds from the first thread's start to the last one's end.
template <class Body> double runWorkers(int count, Body& body) {
  struct Start {
    Body* body;
    int index;
    HANDLE go;
  };
  HANDLE go = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::vector<Start> starts(static_cast<size_t>(count));
  std::vector<HANDLE> threads;
  for (int i = 0; i < count; ++i) {
    starts[static_cast<size_t>(i)] = Start{&body, i, go};
    threads.push_back(::CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          auto* start = static_cast<Start*>(p);
          ::WaitForSingleObject(start->go, INFINITE);
          (*start->body)(start->index);
          return 0;
        },
        &starts[static_cast<size_t>(i)], 0, nullptr));
  }
  const double s = seconds([&] {
    ::SetEvent(go);
    for (HANDLE thread : threads) {
      while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        pumpPending();
    }
    pumpPending();
  });
  for (HANDLE thread : threads)
    ::CloseHandle(thread);
  ::CloseHandle(go);
  return s;
}

struct WorkingSet {
  double current; // bytes
  double peak;    // bytes
};

inline WorkingSet workingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return WorkingSet{static_cast<double>(counters.WorkingSetSize),
                    static_cast<double>(counters.PeakWorkingSetSize)};
}

} // namespace kqbench
