// Test helpers for concurrent writers: each call writes one recognisable block of lines, and a checker
// tells whether a list of stored lines is made of whole blocks, each writer's blocks in order.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kqtest {

// The text of call `call` of writer `writer`: three lines, the middle one carried over a tab and
// longer than a 140-character line, so a call makes four stored lines.
inline std::string CallText(int writer, int call) {
  const std::string tag = "t" + std::to_string(writer) + "c" + std::to_string(call);
  return tag + "-a\n" + tag + "-b\t" + std::string(150, 'x') + "\n" + tag + "-c\n";
}

// The four lines CallText makes in a 140-character store.
inline std::vector<std::string> CallLines(const std::string& tag) {
  const size_t afterB = tag.size() + 2, stop = (afterB / 8 + 1) * 8;
  return {tag + "-a", tag + "-b" + std::string(stop - afterB, ' ') + std::string(140 - stop, 'x'),
          std::string(150 - (140 - stop), 'x'), tag + "-c"};
}

// True when `line` is exactly the "-a" or "-c" line (part 'a' or 'c') of some block; gives its tag.
inline bool ParseBlockLine(const std::string& line, char part, int& writer, int& call) {
  char seen = 0;
  int used = -1;
  return std::sscanf(line.c_str(), "t%dc%d-%c%n", &writer, &call, &seen, &used) == 3 && seen == part &&
         used == static_cast<int>(line.size());
}

// Checks that `lines` (the last one being the empty current line) is made of whole call blocks, each
// writer's calls in increasing order, except that the oldest block may have lost up to three of its
// first lines to the cap. Returns the number of whole blocks.
inline int ExpectWholeCalls(const std::vector<std::string>& lines) {
  using Lines = std::vector<std::string>;
  if (lines.empty() || lines.back() != "") {
    ADD_FAILURE() << "no empty current line at the end";
    return 0;
  }
  size_t i = 0;
  int writer = -1, call = -1;
  // A block cut by the cap: its remaining lines end with its "-c" line.
  while (i < 3 && i + 1 < lines.size() && !ParseBlockLine(lines[i], 'a', writer, call))
    ++i;
  if (i > 0) {
    if (!ParseBlockLine(lines[i - 1], 'c', writer, call)) {
      ADD_FAILURE() << "the oldest lines are not the end of a block: " << lines[0];
      return 0;
    }
    const Lines whole = CallLines("t" + std::to_string(writer) + "c" + std::to_string(call));
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(i)),
              Lines(whole.end() - static_cast<std::ptrdiff_t>(i), whole.end()));
  }
  std::vector<int> lastCall(64, -1);
  int calls = 0;
  for (; i + 1 < lines.size(); i += 4) {
    if (!ParseBlockLine(lines[i], 'a', writer, call) || writer < 0 || writer >= 64) {
      ADD_FAILURE() << "line " << i << " starts no block: " << lines[i];
      return calls;
    }
    const std::string tag = "t" + std::to_string(writer) + "c" + std::to_string(call);
    const size_t end = std::min(i + 4, lines.size());
    EXPECT_EQ(Lines(lines.begin() + static_cast<std::ptrdiff_t>(i),
                    lines.begin() + static_cast<std::ptrdiff_t>(end)),
              CallLines(tag));
    EXPECT_GT(call, lastCall[static_cast<size_t>(writer)]) << tag;
    lastCall[static_cast<size_t>(writer)] = call;
    ++calls;
  }
  return calls;
}

} // namespace kqtest
