// Line rules: bytes per second of the shared line-splitting code (KQLineStore::append) on 100 MB of log
// text, against memchr for the line feeds plus memcpy of every byte over the same text.
//
// The text: lines of 20 to 200 printable characters, about one line in four holding one to three tabs,
// each line ended by a line feed. The store has the output window's shape (140 columns, cap 30,000) and
// is full before the clock starts, as a log window is after its first minutes: no allocation then.
// The text is handed over in pieces of 1024 bytes, the size a stream buffer delivers at most.
// The baseline copies each line into the next slot of a ring of 30,000 line buffers of 141 bytes,
// the memory the store writes to; a second baseline copies every line into one cache-hot buffer.
#include "bench_report.h"
#include "line_store.h"

#include <cstring>
#include <string>

namespace {
constexpr size_t textSize = 100'000'000;
constexpr int pieceSize = 1024;
constexpr int lineWidth = 140;
constexpr long long maxLines = 30000;

std::string makeLogText(size_t size) {
  kqbench::Random random(42);
  std::string text;
  text.reserve(size + 256);
  while (text.size() < size) {
    const int length = random.between(20, 200);
    const int tabs = random.between(0, 3) == 0 ? random.between(1, 3) : 0;
    const size_t lineStart = text.size();
    for (int i = 0; i < length; ++i)
      text.push_back(static_cast<char>(random.between(32, 126)));
    for (int t = 0; t < tabs; ++t)
      text[lineStart + static_cast<size_t>(random.between(0, length - 1))] = '\t';
    text.push_back('\n');
  }
  text.resize(size);
  return text;
}

void feedStore(KQLineStore& store, const std::string& text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const int n = static_cast<int>(std::min<std::ptrdiff_t>(pieceSize, end - p));
    store.append(p, n);
    p += n;
  }
}

// memchr for each line feed, memcpy of the line into the next of `slots` buffers of slotSize bytes.
void splitAndCopy(const std::string& text, char* ring, size_t slots, size_t slotSize) {
  const char* p = text.data();
  const char* const end = p + text.size();
  size_t slot = 0;
  while (p < end) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const size_t n = static_cast<size_t>((lf != nullptr ? lf : end) - p);
    char* dst = ring + slot * slotSize;
    // A line longer than a slot goes on in the next slots, as the store wraps it.
    for (size_t done = 0; done < n || done == 0;) {
      const size_t part = std::min(n - done, slotSize);
      std::memcpy(dst, p + done, part);
      kqbench::keep(dst);
      done += part;
      if (++slot == slots)
        slot = 0;
      dst = ring + slot * slotSize;
      if (done == n)
        break;
    }
    p += n + 1;
  }
}
} // namespace

int main() {
  const std::string text = makeLogText(textSize);
  std::printf("# line rules: %zu bytes of log text, lines of 20-200 characters with tabs, pieces of %d bytes,"
              " store of %d columns capped at %lld lines\n",
              text.size(), pieceSize, lineWidth, maxLines);

  CStringList lines;
  lines.AddTail("");
  KQLineStore store(lines, lineWidth, maxLines);
  feedStore(store, text.substr(0, 20'000'000)); // fills the store to its cap
  if (lines.GetCount() != maxLines - 1) {
    std::printf("# unexpected line count %lld\n", static_cast<long long>(lines.GetCount()));
    return 1;
  }

  std::vector<char> ring(static_cast<size_t>(maxLines) * (lineWidth + 1));
  std::vector<char> hot(static_cast<size_t>(lineWidth + 1));
  std::vector<double> storeTimes, ringTimes, hotTimes;
  for (int rep = 0; rep < 3; ++rep) {
    ringTimes.push_back(kqbench::seconds([&] { splitAndCopy(text, ring.data(), maxLines, lineWidth + 1); }));
    hotTimes.push_back(kqbench::seconds([&] { splitAndCopy(text, hot.data(), 1, lineWidth + 1); }));
    storeTimes.push_back(kqbench::seconds([&] { feedStore(store, text); }));
  }
  const double mb = static_cast<double>(text.size()) / 1e6;
  const double storeRate = mb / kqbench::median(storeTimes);
  const double ringRate = mb / kqbench::median(ringTimes);
  const double hotRate = mb / kqbench::median(hotTimes);
  kqbench::measure("line_rules.store", storeRate, "MB/s",
                   "KQLineStore::append, full store, median of 3 passes");
  kqbench::measure("line_rules.memchr_memcpy", ringRate, "MB/s",
                   "memchr per line feed + memcpy of every byte into a ring of line buffers");
  kqbench::measure("line_rules.memchr_memcpy_hot", hotRate, "MB/s",
                   "memchr per line feed + memcpy of every byte into one cache-hot buffer");
  kqbench::ratio("line_rules", storeRate / ringRate, ">=", 0.25,
                 "store / (memchr + memcpy into line buffers)");
  kqbench::ratio("line_rules.vs_hot", storeRate / hotRate, nullptr, 0,
                 "store / (memchr + memcpy, hot buffer)");
  return 0;
}
