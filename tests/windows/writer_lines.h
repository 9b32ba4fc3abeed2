// Writers on several threads: lines that name their writer and number, a check that lines are whole and in
// each writer's order, and a pause holding every writer at one call.
#pragma once

#include <cstdio>
#include <latch>
#include <string>
#include <vector>

namespace kqtest {

// All of `lines` but the last, the current line, which must be empty (every call ends with a line feed).
inline std::vector<std::string> CompletedLines(std::vector<std::string> lines, std::string& error) {
  if (lines.empty() || !lines.back().empty())
    error = "the current line is not empty";
  if (!lines.empty())
    lines.pop_back();
  return lines;
}

// Writer `writer`'s line `seq`: "w<writer> s<seq> " and a run whose length and letter follow from both, so a
// cut, joined or mixed line does not read back; at most 71 characters, within both windows' widths.
inline std::string WriterLine(int writer, long seq) {
  const auto run = static_cast<size_t>(10 + (seq * 7 + writer) % 51);
  const char letter = static_cast<char>('a' + (seq + writer * 5) % 26);
  return "w" + std::to_string(writer) + " s" + std::to_string(seq) + " " + std::string(run, letter);
}

// What one writer has among some lines: its first and last numbers and how many lines it has.
struct WriterRun {
  long first = -1, last = -1, count = 0;
};

// Each line must be some WriterLine(w, s), each w's s rising by 1; `error` gets the first fault. The runs.
template <class Lines>
std::vector<WriterRun> CheckWriterLines(const Lines& lines, int writers, std::string& error) {
  std::vector<WriterRun> runs(static_cast<size_t>(writers));
  size_t index = 0;
  for (const std::string& line : lines) {
    int w = -1, used = 0;
    long s = -1;
    const bool whole = std::sscanf(line.c_str(), "w%d s%ld %n", &w, &s, &used) == 2 && used > 0 && w >= 0 &&
                       w < writers && s >= 0 && line == WriterLine(w, s);
    WriterRun* run = whole ? &runs[static_cast<size_t>(w)] : nullptr;
    if (!whole && error.empty())
      error = "line " + std::to_string(index) + " is not a whole writer's line: \"" + line + "\"";
    else if (whole && run->count > 0 && s != run->last + 1 && error.empty())
      error = "line " + std::to_string(index) + ": writer " + std::to_string(w) + " line " +
              std::to_string(s) + " follows its line " + std::to_string(run->last);
    if (whole) {
      run->first = run->count++ == 0 ? s : run->first;
      run->last = s;
    }
    ++index;
  }
  return runs;
}

// Writers call Arrive() and wait; the watcher polls AllArrived(), then Release()s them.
class WriterPause {
public:
  explicit WriterPause(int writers) : arrived(writers) {}
  void Arrive() {
    arrived.count_down();
    released.wait();
  }
  bool AllArrived() const { return arrived.try_wait(); }
  void Release() { released.count_down(); }

private:
  std::latch arrived, released{1};
};

} // namespace kqtest
