// A window's line store behind its recursive lock. Platform-free: the lock is a type parameter
// (std::recursive_mutex in native tests, the output window's critical section on Windows).
#pragma once

#include "line_store.h"
#include "save_lines.h"

#include <cstdio>
#include <mutex>

// The lock of a store that one thread uses alone (the fast display window): locking does nothing.
struct KQNoLock {
  void lock() noexcept {}
  void unlock() noexcept {}
};

// Lock: BasicLockable (lock/unlock) and recursive. Every operation holds it for its whole run through a
// guard, so the text of one display call is stored in one piece and an exception never leaves it held.
template <class Lock> class KQLockedLines {
public:
  KQLockedLines(CStringList& lines, Lock& lock, int lineWidth, long long maxLines) noexcept
      : lines(lines), lock(lock), store(lines, lineWidth, maxLines) {}

  // KQLineStore::append under the lock.
  void display(const char* text, int len) {
    std::lock_guard<Lock> guard(lock);
    store.append(text, len);
  }
  void lineFeed() {
    std::lock_guard<Lock> guard(lock);
    store.lineFeed();
  }
  void scrollOffTop() {
    std::lock_guard<Lock> guard(lock);
    store.scrollOffTop();
  }
  void clear() {
    std::lock_guard<Lock> guard(lock);
    store.clear();
  }
  // The number of lines, the current line included.
  INT_PTR count() {
    std::lock_guard<Lock> guard(lock);
    return lines.GetCount();
  }
  // KQSaveLines under the lock, for the whole walk.
  void save(std::FILE* out) {
    std::lock_guard<Lock> guard(lock);
    KQSaveLines(lines, out);
  }
  // Calls read(const CStringList&) under the lock and returns what it returns (also for work that must
  // hold the lock without reading the lines).
  template <class Read> decltype(auto) read(Read&& read) {
    std::lock_guard<Lock> guard(lock);
    return read(static_cast<const CStringList&>(lines));
  }

private:
  CStringList& lines;
  Lock& lock;
  KQLineStore store;
};
