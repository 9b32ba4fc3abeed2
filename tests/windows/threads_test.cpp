// The platform-free parts on several threads, as the text windows use them. Built by the native preset
// (AddressSanitizer) and by the tsan preset, where ThreadSanitizer fails the run at the first data race.
//
// One output-window store: writers deliver through stream buffers of their own (the log buffer's put
// area) into the store behind its lock while another thread paints, counts, saves and clears it.
// Fast display stores: each used by its own thread without a lock, many at once; they share nothing.
#include "line_list.h"
#include "line_position.h"
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

// A log buffer's batching over the locked store: each flush is one display call.
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

constexpr int width = 140, writers = 8, linesPerCall = 2;
constexpr long long cap = 30000;
// Writers pause at call fullAt (more lines written than the cap keeps), then at lastClearAt, before the
// watcher's last clear; calls from lastClearAt on (8 x 500 x 2 lines) all fit.
constexpr int calls = 3000, fullAt = 2000, lastClearAt = 2500;

// The last `rows` lines, copied under the lock as a paint copies its rows.
std::vector<std::string> lastPage(Store& store, INT_PTR rows) {
  return store.read([rows](const CStringList& lines) {
    std::vector<std::string> page;
    const INT_PTR count = lines.GetCount();
    const INT_PTR first = count > rows ? count - rows : 0;
    for (POSITION pos = KQLinePosition(lines, first); pos != nullptr;) {
      const CString& line = lines.GetNext(pos);
      page.emplace_back(line.GetString(), static_cast<size_t>(line.GetLength()));
    }
    return page;
  });
}

// Saves the store to a temporary file and reads its records back: the stored lines, the current line
// last. Sets `error` unless the file ends with the extra line end.
std::vector<std::string> saved(Store& store, std::string& error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
  if (!file) {
    error = "no temporary file";
    return {};
  }
  store.save(file.get());
  std::rewind(file.get());
  std::vector<std::string> records(1);
  for (int c; (c = std::fgetc(file.get())) != EOF;) {
    if (c == '\n')
      records.emplace_back();
    else
      records.back().push_back(static_cast<char>(c));
  }
  // After the last line end nothing, before it the extra line end's empty record.
  if (records.size() < 3 || !records.back().empty() || !records[records.size() - 2].empty())
    error = "the file does not end with the extra line end";
  records.resize(records.size() >= 2 ? records.size() - 2 : 0);
  return records;
}

} // namespace

TEST(Threads, WritersThroughTheirBuffersWhileTheStoreIsPaintedSavedAndCleared) {
  CStringList lines(10);
  lines.AddTail(CString());
  std::recursive_mutex lock;
  Store store(lines, lock, width, cap);
  kqtest::WriterPause full(writers), lastClear(writers);

  std::atomic<int> finished{0};
  std::atomic<long> rounds{0}; // the watcher's; a writer at call c waits for c / 16 of them
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([&, w] {
      StoreBuffer buffer(store);
      std::ostream out(&buffer);
      for (int c = 0; c < calls; ++c) {
        if (c == fullAt)
          full.Arrive();
        if (c == lastClearAt)
          lastClear.Arrive();
        while (rounds.load() < c / 16)
          std::this_thread::yield();
        const long seq = static_cast<long>(c) * linesPerCall;
        out << kqtest::WriterLine(w, seq) << '\n' << kqtest::WriterLine(w, seq + 1) << std::endl;
      }
      ++finished;
    });

  // The watcher: pages, counts and saves all the time; clears between the two pauses.
  std::string error;
  long long pages = 0, saves = 0, clears = 0;
  bool sawFull = false, lastCleared = false;
  for (int round = 0; !lastCleared || finished.load() < writers; rounds = ++round) {
    for (const std::string& row : lastPage(store, 30))
      if (!row.empty())
        kqtest::CheckWriterLines(std::vector<std::string>{row}, writers, error);
    ++pages;
    if (const INT_PTR count = store.count(); (count < 1 || count > cap - 1) && error.empty())
      error = "count " + std::to_string(count) + " outside 1 .. cap - 1";
    if (round % 40 == 0) {
      std::string saveError;
      kqtest::CheckWriterLines(kqtest::CompletedLines(saved(store, saveError), saveError), writers,
                               saveError);
      if (!saveError.empty() && error.empty())
        error = "saved file: " + saveError;
      ++saves;
    }
    if (!sawFull) {
      if (!full.AllArrived())
        continue;
      // Every writer is held: more lines were written than the cap keeps, the oldest went first.
      sawFull = true;
      const Lines held = linesOf(lines);
      EXPECT_EQ(static_cast<long long>(held.size()), cap - 1);
      std::string heldError;
      const auto runs = kqtest::CheckWriterLines(kqtest::CompletedLines(held, heldError), writers, heldError);
      EXPECT_EQ(heldError, "");
      for (int w = 0; w < writers; ++w)
        EXPECT_EQ(runs[static_cast<size_t>(w)].last, long{fullAt} * linesPerCall - 1) << "writer " << w;
      full.Release();
    } else if (!lastCleared) {
      const bool last = lastClear.AllArrived();
      if (last || store.count() > 2000) {
        store.clear();
        ++clears;
      }
      if (last) {
        lastCleared = true;
        lastClear.Release();
      }
    }
  }
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(error, "");

  // Everything written after the last clear is there, whole and in each writer's order.
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
  std::printf("locked store: %d writers x %d calls, %lld pages painted, %lld saves, %lld clears\n", writers,
              calls, pages, saves, clears);
}

// Each fast display store and its pending input belong to one thread; several such threads run at once
// with no lock between them. Whatever the string and list classes share between objects (an empty
// string, a free list, a scratch buffer) would be touched by all of them.
TEST(Threads, SeparateStoresAndInputQueuesOnTheirOwnThreadsShareNothing) {
  constexpr int owners = 4, rounds = 3000;
  std::vector<std::string> errors(owners);
  std::vector<std::thread> threads;
  for (int o = 0; o < owners; ++o)
    threads.emplace_back([o, &errors] {
      std::string& error = errors[static_cast<size_t>(o)];
      CStringList lines(10);
      lines.AddTail(CString());
      KQLineStore store(lines, 80, 65000);
      CString input;
      for (int r = 0; r < rounds; ++r) {
        const std::string line = kqtest::WriterLine(o, r) + "\n";
        store.append(line.data(), static_cast<int>(line.size()));
        // Input put in front twice, taken back in two pieces: the later text first.
        KQPrependInput(input, "b", 1);
        KQPrependInput(input, line.data(), static_cast<int>(line.size()));
        char taken[128] = {};
        const int first = KQTakeInput(input, taken, static_cast<int>(line.size()));
        const int second = KQTakeInput(input, taken + first, 8);
        if (std::string(taken, static_cast<size_t>(first + second)) != line + "b" || !input.IsEmpty())
          error = "round " + std::to_string(r) + ": the input came back wrong";
        if (r % 1000 == 999) {
          const Lines held = linesOf(lines);
          if (held.size() != 1001 || held[999] != kqtest::WriterLine(o, r))
            error = "round " + std::to_string(r) + ": " + std::to_string(held.size()) + " lines";
          store.clear();
          input.Empty();
        }
      }
    });
  for (auto& t : threads)
    t.join();
  for (int o = 0; o < owners; ++o)
    EXPECT_EQ(errors[static_cast<size_t>(o)], "") << "thread " << o;
}
