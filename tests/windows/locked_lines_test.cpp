#include "call_blocks.h"
#include "line_list.h"
#include "locked_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {
// A recursive lock that knows how deep it is held, so a test can see it released.
class CountingLock {
public:
  void lock() {
    mutex.lock();
    ++depth;
  }
  void unlock() {
    --depth;
    mutex.unlock();
  }
  int heldDepth() const { return depth; }

private:
  std::recursive_mutex mutex;
  int depth = 0;
};

} // namespace

TEST(LockedLines, EveryOperationReleasesTheLock) {
  CStringList list;
  list.AddTail("");
  CountingLock lock;
  KQLockedLines<CountingLock> store(list, lock, 140, 30000);
  store.display("abc\n", 4);
  store.lineFeed();
  store.scrollOffTop();
  EXPECT_EQ(store.count(), 3);
  EXPECT_EQ(store.read([&](const CStringList& lines) { return lock.heldDepth() + 0 * lines.GetCount(); }), 1);
  store.clear();
  EXPECT_EQ(linesOf(list), Lines{""});
  EXPECT_EQ(lock.heldDepth(), 0);
}

// Several writers, a reader walking the lines and a saver, all at once: each call's bytes stay together
// and every snapshot the saver takes is a consistent state of the store.
TEST(LockedLines, ConcurrentWritersKeepEachCallTogether) {
  CStringList list;
  list.AddTail("");
  std::recursive_mutex lock;
  KQLockedLines<std::recursive_mutex> store(list, lock, 140, 30000);
  constexpr int threads = 4, callsPerThread = 400;
  std::atomic<bool> done{false};

  std::thread reader([&] {
    while (!done)
      store.read([](const CStringList& lines) {
        size_t bytes = 0;
        for (POSITION p = lines.GetHeadPosition(); p != nullptr;)
          bytes += static_cast<size_t>(lines.GetNext(p).GetLength());
        return bytes;
      });
  });
  std::vector<std::string> snapshots;
  std::thread saver([&] {
    while (!done || snapshots.empty()) {
      std::FILE* file = std::tmpfile();
      store.save(file);
      std::rewind(file);
      std::string saved;
      for (int c; (c = std::fgetc(file)) != EOF;)
        saved += static_cast<char>(c);
      std::fclose(file);
      snapshots.push_back(std::move(saved));
    }
  });
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t)
    writers.emplace_back([&, t] {
      for (int c = 0; c < callsPerThread; ++c) {
        const std::string text = kqtest::CallText(t, c);
        store.display(text.data(), static_cast<int>(text.size()));
      }
    });
  for (auto& w : writers)
    w.join();
  done = true;
  reader.join();
  saver.join();

  const Lines lines = linesOf(list);
  ASSERT_EQ(lines.size(), threads * callsPerThread * 4u + 1);
  EXPECT_EQ(kqtest::ExpectWholeCalls(lines), threads * callsPerThread);
  // Each snapshot: the first lines of the final store, its empty current line, the extra line end.
  for (const std::string& saved : snapshots) {
    const auto records = static_cast<size_t>(std::count(saved.begin(), saved.end(), '\n'));
    ASSERT_GE(records, 2u);
    std::string expected;
    for (size_t i = 0; i < records - 2 && i < lines.size(); ++i)
      expected += lines[i] + "\n";
    EXPECT_EQ(saved, expected + "\n\n");
  }
}

TEST(LockedLines, ConcurrentWritersOverTheCapLoseOnlyTheOldest) {
  CStringList list;
  list.AddTail("");
  std::recursive_mutex lock;
  constexpr long long cap = 401; // 100 calls of 4 lines and the current line
  KQLockedLines<std::recursive_mutex> store(list, lock, 140, cap);
  std::vector<std::thread> writers;
  for (int t = 0; t < 3; ++t)
    writers.emplace_back([&, t] {
      for (int c = 0; c < 300; ++c) {
        const std::string text = kqtest::CallText(t, c);
        store.display(text.data(), static_cast<int>(text.size()));
      }
    });
  for (auto& w : writers)
    w.join();
  const Lines lines = linesOf(list);
  ASSERT_EQ(lines.size(), static_cast<size_t>(cap - 1));
  // 399 completed lines: the last three lines of a call, then the last 99 calls whole.
  EXPECT_EQ(kqtest::ExpectWholeCalls(lines), 99);
}
