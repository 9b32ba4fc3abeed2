// Fails one chosen allocation (or all) of the armed thread in kqmfc, kqafx, kqbase and libstdc++ (malloc,
// calloc, realloc; kqmfc's LocalAlloc), hooked in their import tables; counts the blocks kept.
#pragma once

#include "iat_hook.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace kqtest {

class FailingAllocator {
public:
  FailingAllocator() {
    taken.reserve(1 << 15); // the hooks never allocate
    auto crt = [](const char* name) {
      return reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("msvcrt.dll"), name));
    };
    realMalloc = reinterpret_cast<void*(__cdecl*)(size_t)>(crt("malloc"));
    realCalloc = reinterpret_cast<void*(__cdecl*)(size_t, size_t)>(crt("calloc"));
    realRealloc = reinterpret_cast<void*(__cdecl*)(void*, size_t)>(crt("realloc"));
    realFree = reinterpret_cast<void(__cdecl*)(void*)>(crt("free"));
    for (const char* module :
         {"kqmfc.dll", "kqafx.dll", "kqbase.dll", "libstdc++-6.dll"}) { // operator new's last
      caught = hook(module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&hookedMalloc));
      hook(module, "msvcrt.dll", "calloc", reinterpret_cast<void*>(&hookedCalloc));
      hook(module, "msvcrt.dll", "realloc", reinterpret_cast<void*>(&hookedRealloc));
      hook(module, "msvcrt.dll", "free", reinterpret_cast<void*>(&hookedFree));
    }
    caught =
        hook("kqmfc.dll", "kernel32.dll", "LocalAlloc", reinterpret_cast<void*>(&hookedLocalAlloc)) && caught;
    hook("kqmfc.dll", "kernel32.dll", "LocalFree", reinterpret_cast<void*>(&hookedLocalFree));
  }
  FailingAllocator(const FailingAllocator&) = delete;
  FailingAllocator& operator=(const FailingAllocator&) = delete;

  // True when operator new (libstdc++'s malloc) and the records' LocalAlloc are caught.
  bool covers() const { return caught; }
  // From now on the calling thread's allocations are counted, and the n-th (0 for the next one) fails;
  // with `all` set, every one fails. `thread` 0 is the calling thread.
  void arm(long n, bool all = false, DWORD thread = 0) {
    failAt = n, failAll = all, failSize = 0, counted = 0, failed = false;
    armedThread = thread != 0 ? thread : ::GetCurrentThreadId();
  }
  // From now on the calling thread's allocations of exactly `size` bytes fail, and only those.
  void armSize(std::size_t size) {
    arm(-1);
    failSize = size;
  }
  // Stops counting; true when the chosen allocation was reached (and failed).
  bool disarm() {
    armedThread = 0;
    return failed;
  }
  // The blocks taken while armed and not freed since; forget() drops them from the count (those a
  // first run keeps for good: lazily made runtime state).
  std::size_t live() const {
    return locked([] { return taken.size(); });
  }
  void forget() {
    locked([] { taken.clear(); });
  }

private:
  bool hook(const char* module, const char* dll, const char* function, void* replacement) {
    hooks.push_back(std::make_unique<IatHook>(module, dll, function, replacement));
    return hooks.back()->installed();
  }
  template <class F> static auto locked(F f) -> decltype(f()) {
    struct Guard {
      Guard() { ::AcquireSRWLockExclusive(&lock); }
      ~Guard() { ::ReleaseSRWLockExclusive(&lock); }
    } guard;
    return f();
  }
  static bool counts() { return armedThread.load() == ::GetCurrentThreadId(); }
  static bool fails(std::size_t size) {
    if (!counts())
      return false;
    const bool fail = failAll || counted++ == failAt || (failSize != 0 && size == failSize);
    failed = failed || fail;
    return fail;
  }
  static void track(void* p) {
    if (p != nullptr && counts())
      locked([p] { taken.size() < taken.capacity() ? taken.push_back(p) : void(); });
  }
  // Whether p was taken while armed (it is then no longer counted).
  static bool untrack(void* p) {
    return locked([p] {
      const auto found = std::find(taken.begin(), taken.end(), p);
      if (p == nullptr || found == taken.end())
        return false;
      *found = taken.back();
      taken.pop_back();
      return true;
    });
  }
  template <class Make> static void* allocate(std::size_t size, Make make) {
    void* p = fails(size) ? nullptr : make();
    track(p);
    return p;
  }

  static void* __cdecl hookedMalloc(size_t size) {
    return allocate(size, [&] { return realMalloc(size); });
  }
  static void* __cdecl hookedCalloc(size_t count, size_t size) {
    return allocate(count * size, [&] { return realCalloc(count, size); });
  }
  static void* __cdecl hookedRealloc(void* old, size_t size) {
    if (size != 0 && fails(size))
      return nullptr; // the old block stays as it was
    const bool tracked = untrack(old);
    void* p = realRealloc(old, size);
    track(p == nullptr && size != 0 && tracked ? old : p);
    return p;
  }
  static void __cdecl hookedFree(void* p) {
    untrack(p);
    realFree(p);
  }
  static HLOCAL WINAPI hookedLocalAlloc(UINT flags, SIZE_T size) {
    return allocate(size, [&] { return ::LocalAlloc(flags, size); });
  }
  static HLOCAL WINAPI hookedLocalFree(HLOCAL h) {
    untrack(h);
    return ::LocalFree(h);
  }

  static inline void*(__cdecl* realMalloc)(size_t) = nullptr;
  static inline void*(__cdecl* realCalloc)(size_t, size_t) = nullptr;
  static inline void*(__cdecl* realRealloc)(void*, size_t) = nullptr;
  static inline void(__cdecl* realFree)(void*) = nullptr;
  static inline std::atomic<DWORD> armedThread{0};
  // Touched by the armed thread only.
  static inline long failAt = -1, counted = 0;
  static inline bool failAll = false, failed = false;
  static inline std::size_t failSize = 0;
  static inline SRWLOCK lock = SRWLOCK_INIT;
  static inline std::vector<void*> taken;

  std::vector<std::unique_ptr<IatHook>> hooks;
  bool caught = false;
};

} // namespace kqtest
