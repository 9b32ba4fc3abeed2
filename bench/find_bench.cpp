// Find: the search of the opt-in windows' find dialog (KQFindText) over a full output window, 29,999
// lines of 140 characters in the window's list, against glibc's memmem over the same text held in one
// buffer (the lines joined by line feeds). The text is log lines ("12:04:33.125 worker 5: step 812 ...")
// and the needle, "worker 9:", is in none of them, so that both read everything, as a search that
// finds nothing does. Measured with and without case (the dialog's default is without).
#include "bench_report.h"
#include "find_text.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
constexpr int lines = 29999;
constexpr int lineWidth = 140;
constexpr int rounds = 41;

std::string logLine(kqbench::Random& random) {
  static const char* const words[] = {"step", "value", "done", "queue", "flush", "Window", "read", "ok"};
  char head[64];
  std::snprintf(head, sizeof(head), "%02d:%02d:%02d.%03d worker %d: ", random.between(0, 23),
                random.between(0, 59), random.between(0, 59), random.between(0, 999), random.between(0, 8));
  std::string line = head;
  while (line.size() < lineWidth) {
    line += words[random.between(0, 7)];
    line += ' ';
    line += std::to_string(random.between(0, 99999));
    line += ' ';
  }
  line.resize(lineWidth);
  return line;
}
} // namespace

int main() {
  kqbench::Random random(5);
  CStringList list;
  std::string joined;
  for (int i = 0; i < lines; ++i) {
    const std::string line = logLine(random);
    list.AddTail(CString(line.c_str()));
    joined += line;
    joined += '\n';
  }
  static const char needle[] = "worker 9:";
  const int needleLength = static_cast<int>(std::strlen(needle));
  const double mb = static_cast<double>(joined.size()) / 1e6;

  std::vector<double> memmemTimes, caseTimes, foldTimes;
  bool anyFound = false;
  for (int round = 0; round < rounds; ++round) {
    memmemTimes.push_back(kqbench::seconds([&] {
      const void* hit = memmem(joined.data(), joined.size(), needle, static_cast<size_t>(needleLength));
      anyFound |= hit != nullptr;
      kqbench::keep(hit);
    }));
    for (const bool matchCase : {true, false}) {
      KQTextSelection match{};
      (matchCase ? caseTimes : foldTimes).push_back(kqbench::seconds([&] {
        anyFound |= KQFindText(list, needle, needleLength, {0, 0}, {true, matchCase, false}, match);
        kqbench::keep(&match);
      }));
    }
  }
  if (anyFound) {
    std::printf("# the needle was found: the text is wrong\n");
    return 1;
  }
  const double memmemRate = mb / kqbench::median(memmemTimes);
  const double caseRate = mb / kqbench::median(caseTimes);
  const double foldRate = mb / kqbench::median(foldTimes);
  kqbench::measure("find.memmem", memmemRate, "MB/s", "memmem over the window's text in one buffer");
  kqbench::measure("find.match_case", caseRate, "MB/s", "KQFindText over the full window, Match case");
  kqbench::measure("find.any_case", foldRate, "MB/s", "KQFindText over the full window, without case");
  kqbench::measure("find.any_case_ms", 1000 * kqbench::median(foldTimes), "ms",
                   "one search of the full window without case: what writers wait for");
  kqbench::ratio("find.match_case", caseRate / memmemRate, ">=", 0.5, "KQFindText (Match case) / memmem");
  kqbench::ratio("find.any_case", foldRate / memmemRate, ">=", 0.5, "KQFindText (without case) / memmem");
  return 0;
}
