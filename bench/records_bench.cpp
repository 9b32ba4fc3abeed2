// Record access: GetDebugThreadInfo calls per second against a thread_local pointer read in the same
// executable, both through a call that gives the calling thread's record (as a host reads it).
//
// With mingw-w64's GCC a thread_local variable is emulated (__emutls_get_address on every access);
// TlsGetValue alone is measured too, as the floor of any Win32 thread-local slot.
#include "bench_report.h"
#include "kqdiagnostics.h"

#include <windows.h>

namespace {
constexpr long callCount = 20'000'000;

thread_local KQDebugInfo* localRecord = nullptr;
DWORD slot = TLS_OUT_OF_INDEXES;

// Not inlined, so that each call reads the variable again, as a host's accessor would.
__attribute__((noinline)) KQDebugInfo* readLocalRecord() {
  return localRecord;
}
__attribute__((noinline)) void* readSlot() {
  return TlsGetValue(slot);
}

template <class Get> double callsPerSecond(Get&& get) {
  std::vector<double> times;
  for (int rep = 0; rep < 3; ++rep) {
    times.push_back(kqbench::seconds([&] {
      for (long i = 0; i < callCount; ++i)
        kqbench::keep(get());
    }));
  }
  return static_cast<double>(callCount) / kqbench::median(times);
}
} // namespace

int main() {
  std::printf("# record access: %ld calls per pass, median of 3 passes, on the main thread\n", callCount);
  KQDebugInfo& record = GetDebugThreadInfo();
  localRecord = &record;
  slot = TlsAlloc();
  TlsSetValue(slot, &record);
  if (readLocalRecord() != &GetDebugThreadInfo() || readSlot() != &record) {
    std::printf("# the three ways do not give the same record\n");
    return 1;
  }

  const double recordRate = callsPerSecond([] { return &GetDebugThreadInfo(); });
  const double localRate = callsPerSecond([] { return readLocalRecord(); });
  const double slotRate = callsPerSecond([] { return readSlot(); });
  kqbench::measure("records.GetDebugThreadInfo", recordRate, "calls/s",
                   "GetDebugThreadInfo() from kqmfc.dll");
  kqbench::measure("records.thread_local", localRate, "calls/s",
                   "thread_local pointer read in the executable (emulated TLS under mingw-w64)");
  kqbench::measure("records.TlsGetValue", slotRate, "calls/s", "TlsGetValue on a slot of the executable");
  kqbench::ratio("records", localRate / recordRate, nullptr, 0,
                 "time per call: GetDebugThreadInfo / thread_local read");
  kqbench::ratio("records.vs_TlsGetValue", slotRate / recordRate, nullptr, 0,
                 "time per call: GetDebugThreadInfo / TlsGetValue");
  TlsFree(slot);
  return 0;
}
