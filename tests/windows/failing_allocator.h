// Makes one chosen allocation of the library fail, so that a test can prove that an operation survives
// running out of memory at each of its allocations in turn, and counts the blocks the operation keeps.
//
// The allocations of the library are the blocks that kqmfc.dll, the framework layer (kqafx.dll), the
// string library (kqbase.dll) and the C++ runtime they share (libstdc++-6.dll: operator new, the stream
// classes) take from the C heap (malloc, calloc, realloc), and the records kqmfc.dll takes from the local
// heap (LocalAlloc), caught in those modules' import tables. Only the armed thread's allocations count,
// and only while it is armed. Not caught: the C runtime's own internal blocks, Win32's, and those of any
// other module. One FailingAllocator at a time.
#pragma once

#include "iat_hook.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kqtest {

class FailingAllocator {
public:
  FailingAllocator() {
    realMalloc = crtFunction<Malloc>("malloc");
    realCalloc = crtFunction<Calloc>("calloc");
    realRealloc = crtFunction<Realloc>("realloc");
    realFree = crtFunction<Free>("free");
    for (const char* module : {"kqmfc.dll", "kqafx.dll", "kqbase.dll", "libstdc++-6.dll"}) {
      hook(module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&hookedMalloc));
      hook(module, "msvcrt.dll", "calloc", reinterpret_cast<void*>(&hookedCalloc));
      hook(module, "msvcrt.dll", "realloc", reinterpret_cast<void*>(&hookedRealloc));
      hook(module, "msvcrt.dll", "free", reinterpret_cast<void*>(&hookedFree));
    }
    hook("kqmfc.dll", "kernel32.dll", "LocalAlloc", reinterpret_cast<void*>(&hookedLocalAlloc));
    hook("kqmfc.dll", "kernel32.dll", "LocalFree", reinterpret_cast<void*>(&hookedLocalFree));
  }
  ~FailingAllocator() { hooks.clear(); }
  FailingAllocator(const FailingAllocator&) = delete;
  FailingAllocator& operator=(const FailingAllocator&) = delete;

  // True when operator new (libstdc++'s malloc) and the records' LocalAlloc are caught.
  bool covers() const { return caughtMalloc && caughtLocalAlloc; }

  // From now on the calling thread's allocations are counted, and the n-th (0 for the next one) fails;
  // with `all` set, every one fails. n < 0: none fails. `thread` 0 is the calling thread.
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
  // The allocations counted since the last arm.
  long allocations() const { return counted; }
  // Blocks taken while armed and not freed since.
  std::size_t live() const {
    ::AcquireSRWLockExclusive(&lock);
    std::size_t n = 0;
    for (void* slot : slots)
      n += slot != nullptr && slot != gone ? 1 : 0;
    ::ReleaseSRWLockExclusive(&lock);
    return n;
  }
  // Forgets the blocks taken so far (those a first run leaves for good: lazily made runtime state).
  void forget() {
    ::AcquireSRWLockExclusive(&lock);
    for (void*& slot : slots)
      slot = nullptr;
    ::ReleaseSRWLockExclusive(&lock);
  }

private:
  using Malloc = void*(__cdecl*)(size_t);
  using Calloc = void*(__cdecl*)(size_t, size_t);
  using Realloc = void*(__cdecl*)(void*, size_t);
  using Free = void(__cdecl*)(void*);

  template <class F> static F crtFunction(const char* name) {
    auto* any = reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("msvcrt.dll"), name));
    return reinterpret_cast<F>(any);
  }
  void hook(const char* module, const char* dll, const char* function, void* replacement) {
    hooks.push_back(std::make_unique<IatHook>(module, dll, function, replacement));
    if (hooks.back()->installed() && function == std::string_view("malloc") &&
        module == std::string_view("libstdc++-6.dll"))
      caughtMalloc = true;
    if (hooks.back()->installed() && function == std::string_view("LocalAlloc"))
      caughtLocalAlloc = true;
  }

  // Whether this allocation counts, and whether it fails.
  static bool counts() { return armedThread.load() == ::GetCurrentThreadId(); }
  static bool fails(std::size_t size) {
    if (!counts())
      return false;
    const long n = counted++;
    const bool fail = failAll || n == failAt || (failSize != 0 && size == failSize);
    failed = failed || fail;
    return fail;
  }
  // An allocation of `size` bytes that make() takes: none when it fails, else tracked when it counts.
  template <class Make> static void* allocate(std::size_t size, Make make) {
    if (fails(size))
      return nullptr;
    void* p = make();
    if (counts())
      track(p);
    return p;
  }

  // A set of pointers in a fixed table (open addressing), so that the hooks never allocate.
  static constexpr std::size_t capacity = 1 << 15;
  static inline void* const gone = reinterpret_cast<void*>(1);
  static std::size_t home(void* p) {
    return (reinterpret_cast<std::uintptr_t>(p) >> 4) * 2654435761u % capacity;
  }
  static void track(void* p) {
    if (p == nullptr)
      return;
    ::AcquireSRWLockExclusive(&lock);
    for (std::size_t i = home(p), probes = 0; probes < capacity; i = (i + 1) % capacity, ++probes) {
      if (slots[i] == nullptr || slots[i] == gone) {
        slots[i] = p;
        break;
      }
    }
    ::ReleaseSRWLockExclusive(&lock);
  }
  static bool untrack(void* p) {
    if (p == nullptr)
      return false;
    bool found = false;
    ::AcquireSRWLockExclusive(&lock);
    for (std::size_t i = home(p), probes = 0; probes < capacity && slots[i] != nullptr;
         i = (i + 1) % capacity, ++probes) {
      if (slots[i] == p) {
        slots[i] = gone;
        found = true;
        break;
      }
    }
    ::ReleaseSRWLockExclusive(&lock);
    return found;
  }

  static void* __cdecl hookedMalloc(size_t size) {
    return allocate(size, [&] { return realMalloc(size); });
  }
  static void* __cdecl hookedCalloc(size_t count, size_t size) {
    return allocate(count * size, [&] { return realCalloc(count, size); });
  }
  static void* __cdecl hookedRealloc(void* old, size_t size) {
    if (old != nullptr && size == 0) {
      untrack(old);
      return realRealloc(old, 0);
    }
    if (fails(size))
      return nullptr; // the old block stays as it was
    const bool tracked = untrack(old);
    void* p = realRealloc(old, size);
    if (p == nullptr && tracked)
      track(old);
    else if (tracked || counts())
      track(p);
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

  static inline Malloc realMalloc = nullptr;
  static inline Calloc realCalloc = nullptr;
  static inline Realloc realRealloc = nullptr;
  static inline Free realFree = nullptr;
  static inline std::atomic<DWORD> armedThread{0};
  // Touched by the armed thread only.
  static inline long failAt = -1;
  static inline bool failAll = false;
  static inline std::size_t failSize = 0;
  static inline long counted = 0;
  static inline bool failed = false;
  static inline SRWLOCK lock = SRWLOCK_INIT;
  static inline void* slots[capacity] = {};

  std::vector<std::unique_ptr<IatHook>> hooks;
  bool caughtMalloc = false;
  bool caughtLocalAlloc = false;
};

} // namespace kqtest
