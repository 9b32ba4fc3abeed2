// Under tsan, a data race fails the run: eight writers append to one locked store while a watcher copies
// its last page, counts, saves and clears it; each writer also owns an unlocked store and input queue, so
// that state the string and list classes share between objects would be raced on.
#include "copy_lines.h"
#include "line_list.h"
#include "line_store.h"
#include "locked_lines.h"
#include "pending_input.h"
#include "writer_lines.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {
// Writers pause at lastClearAt for the last clear; the 8 x 50 x 2 lines after it fit under the cap.
constexpr int writers = 8, calls = 3000, lastClearAt = 2950;
constexpr long long cap = 1000;
} // namespace

TEST(Threads, WritersWhileTheStoreIsPaintedSavedAndCleared) {
  CStringList lines(10);
  lines.AddTail(CString());
  std::recursive_mutex lock;
  KQLockedLines<std::recursive_mutex> store(lines, lock, 140, cap);
  kqtest::WriterPause lastClear(writers);
  std::vector<std::string> ownErrors(writers);
  std::atomic<int> finished{0};
  std::atomic<long> rounds{0}; // the watcher's; a writer at call c waits for c / 16 of them
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([&, w] {
      CStringList ownLines(10);
      ownLines.AddTail(CString());
      KQLineStore own(ownLines, 80, 100);
      CString input;
      for (int c = 0; c < calls; ++c) {
        if (c == lastClearAt)
          lastClear.Arrive();
        while (rounds.load() < c / 16)
          std::this_thread::yield();
        const std::string line = kqtest::WriterLine(w, 2L * c) + "\n";
        const std::string text = line + kqtest::WriterLine(w, 2L * c + 1) + "\n";
        store.display(text.data(), static_cast<int>(text.size()));
        own.append(line.data(), static_cast<int>(line.size()));
        KQPrependInput(input, "b", 1); // input put in front twice comes back later text first
        KQPrependInput(input, line.data(), static_cast<int>(line.size()));
        char taken[80] = {};
        const int first = KQTakeInput(input, taken, static_cast<int>(line.size()));
        if (first + KQTakeInput(input, taken + first, 8) != static_cast<int>(line.size()) + 1 ||
            taken != line + "b" || linesOf(ownLines).rbegin()[1] != kqtest::WriterLine(w, 2L * c))
          ownErrors[static_cast<size_t>(w)] =
              "call " + std::to_string(c) + ": its own store or queue went wrong";
      }
      ++finished;
    });

  std::string error;
  bool lastCleared = false;
  for (int round = 0; !lastCleared || finished.load() < writers; rounds = ++round) {
    KQCopiedLines page;
    store.read([&](const CStringList& all) {
      return KQCopyLines(all, {all.GetCount() - 30, all.GetCount()}, page);
    });
    for (size_t i = 0, at = 0; i < page.lengths.size(); at += static_cast<size_t>(page.lengths[i++]))
      if (page.lengths[i] > 0)
        kqtest::CheckWriterLines(Lines{page.text.substr(at, static_cast<size_t>(page.lengths[i]))}, writers,
                                 error);
    if (const INT_PTR count = store.count(); (count < 1 || count > cap - 1) && error.empty())
      error = "count " + std::to_string(count) + " outside 1 .. cap - 1";
    if (round % 40 == 0) { // the saved file: whole lines, each writer's in order, then the extra line end
      std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
      store.save(file.get());
      std::rewind(file.get());
      Lines records(1);
      for (int c; (c = std::fgetc(file.get())) != EOF;)
        c == '\n' ? (void)records.emplace_back() : records.back().push_back(static_cast<char>(c));
      if (records.size() < 3 || !records.back().empty() || !records.rbegin()[1].empty())
        error = error.empty() ? "the saved file does not end with the extra line end" : error;
      records.resize(records.size() >= 2 ? records.size() - 2 : 0);
      kqtest::CheckWriterLines(kqtest::CompletedLines(records, error), writers, error);
    }
    if (!lastCleared) {
      lastCleared = lastClear.AllArrived();
      if (lastCleared || round % 50 == 49)
        store.clear();
      if (lastCleared)
        lastClear.Release();
    }
  }
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(error, "");
  for (int w = 0; w < writers; ++w)
    EXPECT_EQ(ownErrors[static_cast<size_t>(w)], "") << "writer " << w;
  // Everything written after the last clear is there, whole and in each writer's order.
  const Lines stored = linesOf(lines);
  EXPECT_EQ(stored.size(), static_cast<size_t>(writers * (calls - lastClearAt) * 2 + 1));
  std::string storedError;
  const auto runs =
      kqtest::CheckWriterLines(kqtest::CompletedLines(stored, storedError), writers, storedError);
  EXPECT_EQ(storedError, "");
  for (int w = 0; w < writers; ++w)
    EXPECT_TRUE(runs[static_cast<size_t>(w)].first == 2L * lastClearAt &&
                runs[static_cast<size_t>(w)].last == 2L * calls - 1)
        << "writer " << w;
}
