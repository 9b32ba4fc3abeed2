// Records every OutputDebugStringA call in-process (of the calling thread, or all): a vectored handler
// takes and dismisses its DBG_PRINTEXCEPTION_C and lets every other exception pass.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

class DebugOutputCapture {
public:
  enum class Threads { Calling, All };

  explicit DebugOutputCapture(Threads which = Threads::Calling)
      : thread(which == Threads::All ? 0 : GetCurrentThreadId()) {
    active = this;
    handler = AddVectoredExceptionHandler(1, &DebugOutputCapture::onException);
  }
  ~DebugOutputCapture() {
    RemoveVectoredExceptionHandler(handler);
    active = nullptr;
  }
  DebugOutputCapture(const DebugOutputCapture&) = delete;
  DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

  std::vector<std::string> calls() const {
    std::lock_guard<std::mutex> guard(lock);
    return received;
  }

private:
  static LONG CALLBACK onException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != DBG_PRINTEXCEPTION_C || active == nullptr ||
        (active->thread != 0 && GetCurrentThreadId() != active->thread))
      return EXCEPTION_CONTINUE_SEARCH;
    // The length with the NUL, then the string.
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    std::lock_guard<std::mutex> guard(active->lock);
    active->received.emplace_back(text, length > 0 ? length - 1 : 0);
    return EXCEPTION_CONTINUE_EXECUTION;
  }

  static inline DebugOutputCapture* active = nullptr;
  DWORD thread; // 0: every thread
  PVOID handler;
  mutable std::mutex lock;
  std::vector<std::string> received;
};
