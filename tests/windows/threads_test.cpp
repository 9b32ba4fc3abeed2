// The platform-free parts the text windows share between threads, as they use
// them. Built by the native preset (AddressSanitizer) and by the tsan preset,
// where ThreadSanitizer fails the run at the first data race. Eight writers
// deliver through stream buffers of their own (the log buffer's put area) into
// one output-window store behind its lock, while a watcher copies its last page
// as painting does, counts, saves and clears it. Each writer also keeps a fast
// display store and input queue of its own, with no lock: whatever the string
// and list classes shared between objects would be raced on.
#include "copy_lines.h"
#include "line_list.h"
#include "line_store.h"
#include "locked_lines.h"
#include "pending_input.h"
#include "put_area.h"
#include "writer_lines.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

namespace {
using Store = KQLockedLines<std::recursive_mutex>;

// A log buffer's batching over the locked store: each flush is one display
// call.
class StoreBuffer : public std::basic_streambuf<char> {
public:
  explicit StoreBuffer(Store& store) : buffer(KQPutArea::allocate()), store(store) {
    KQPutArea::empty(*this);
  }
  ~StoreBuffer() override { delete[] buffer; }
  StoreBuffer(const StoreBuffer&) = delete;
  StoreBuffer& operator=(const StoreBuffer&) = delete;

  int overflow(int ch) override { return KQPutArea::overflow(*this, ch); }
  int sync() override {
    KQPutArea::handOn(*this, [this](const char* text, int length) { store.display(text, length); });
    return 0;
  }

private:
  friend class ::KQPutArea;
  virtual int out_waiting() const { return KQPutArea::pending(*this); }
  char* buffer;
  Store& store;
};

// Saves the store to a temporary file and reads its lines back (split at line
// feeds).
Lines saved(Store& store) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
  store.save(file.get());
  std::rewind(file.get());
  Lines records(1);
  for (int c; (c = std::fgetc(file.get())) != EOF;)
    c == '\n' ? (void)records.emplace_back() : records.back().push_back(static_cast<char>(c));
  return records;
}

// Writers pause at call lastClearAt for the watcher's last clear; what they
// write after it (8 x 50 x 2 lines) all fits under the cap, which the clears
// before are made to pass many times.
constexpr int width = 140, writers = 8, linesPerCall = 2, calls = 3000, lastClearAt = 2950;
constexpr long long cap = 1000;
} // namespace

TEST(Threads, WritersThroughTheirBuffersWhileTheStoreIsPaintedSavedAndCleared) {
  CStringList lines(10);
  lines.AddTail(CString());
  std::recursive_mutex lock;
  Store store(lines, lock, width, cap);
  kqtest::WriterPause lastClear(writers);
  std::vector<std::string> ownErrors(writers);

  std::atomic<int> finished{0};
  std::atomic<long> rounds{0}; // the watcher's; a writer at call c waits for c / 16 of them
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([&, w] {
      StoreBuffer buffer(store);
      std::ostream out(&buffer);
      CStringList ownLines(10);
      ownLines.AddTail(CString());
      KQLineStore own(ownLines, 80, 100);
      CString input;
      std::string& error = ownErrors[static_cast<size_t>(w)];
      for (int c = 0; c < calls; ++c) {
        if (c == lastClearAt)
          lastClear.Arrive();
        while (rounds.load() < c / 16)
          std::this_thread::yield();
        const long seq = static_cast<long>(c) * linesPerCall;
        out << kqtest::WriterLine(w, seq) << '\n' << kqtest::WriterLine(w, seq + 1) << std::endl;
        // The own store and queue: input put in front twice comes back later
        // text first.
        const std::string line = kqtest::WriterLine(w, seq) + "\n";
        own.append(line.data(), static_cast<int>(line.size()));
        KQPrependInput(input, "b", 1);
        KQPrependInput(input, line.data(), static_cast<int>(line.size()));
        char taken[80] = {};
        const int first = KQTakeInput(input, taken, static_cast<int>(line.size()));
        const int second = KQTakeInput(input, taken + first, 8);
        if (std::string(taken, static_cast<size_t>(first + second)) != line + "b" || !input.IsEmpty())
          error = "call " + std::to_string(c) + ": the input came back wrong";
        if (c % 500 == 499 && linesOf(ownLines).rbegin()[1] != kqtest::WriterLine(w, seq))
          error = "call " + std::to_string(c) + ": its own store lost a line";
      }
      ++finished;
    });

  // The watcher: copies the last page and counts all the time, saves now and
  // then, clears until the writers pause for the last clear.
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
    if (round % 40 == 0) {
      std::string saveError;
      Lines records = saved(store);
      if (records.size() < 3 || !records.back().empty() || !records[records.size() - 2].empty())
        saveError = "the file does not end with the extra line end";
      records.resize(records.size() >= 2 ? records.size() - 2 : 0);
      kqtest::CheckWriterLines(kqtest::CompletedLines(records, saveError), writers, saveError);
      if (!saveError.empty() && error.empty())
        error = "saved file: " + saveError;
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

  // Everything written after the last clear is there, whole and in each
  // writer's order.
  const Lines stored = linesOf(lines);
  EXPECT_EQ(stored.size(), static_cast<size_t>(writers * (calls - lastClearAt) * linesPerCall + 1));
  std::string storedError;
  const auto runs =
      kqtest::CheckWriterLines(kqtest::CompletedLines(stored, storedError), writers, storedError);
  EXPECT_EQ(storedError, "");
  for (int w = 0; w < writers; ++w) {
    EXPECT_EQ(runs[static_cast<size_t>(w)].first, long{lastClearAt} * linesPerCall) << "writer " << w;
    EXPECT_EQ(runs[static_cast<size_t>(w)].last, long{calls} * linesPerCall - 1) << "writer " << w;
  }
}
