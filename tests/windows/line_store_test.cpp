#include "line_list.h"
#include "line_position.h"
#include "line_store.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>

namespace {
struct Shape {
  int width;
  long long cap;
};
constexpr Shape outputShape{140, 30000}, fastShape{80, 65000};

std::string rep(char c, int n) {
  return std::string(static_cast<size_t>(n), c);
}

// A store over a list holding one empty current line, as both windows start.
struct Store {
  explicit Store(Shape shape) : store((list.AddTail(""), list), shape.width, shape.cap) {}
  Lines add(const std::string& text) {
    store.append(text.data(), static_cast<int>(text.size()));
    return linesOf(list);
  }
  CStringList list;
  KQLineStore store;
};
} // namespace

// Each text, given whole or cut in two at any point, makes the expected lines in both windows' shapes.
TEST(LineStore, RulesForBothWindowsWholeAndSplitAcrossCallsAndEmptyCalls) {
  const std::string odd{'a', '\0', 'b', '\x01', '\x0b', '\x0e', '\x1b', '\x7f', '\x80', '\xff', '\0'};
  for (const Shape shape : {outputShape, fastShape}) {
    const int w = shape.width;
    const struct {
      std::string text;
      Lines expected;
    } cases[] = {
        {"ab\ncd\n", {"ab", "cd", ""}},
        {"a\tb\n\t|", {"a       b", rep(' ', 8) + "|"}},
        {"1234567\t|", {"1234567 |"}},                             // one space reaches the stop
        {"12345678\t|", {"12345678" + rep(' ', 8) + "|"}},         // a full stop's worth at a stop
        {rep('x', w - 3) + "\ty", {rep('x', w - 3) + "   ", "y"}}, // the stop cut at the width
        {rep('x', w - 1) + "\t\ty", {rep('x', w - 1) + " ", rep(' ', 8) + "y"}},
        {"ab\r\ncd\r\r", {"ab", "cd"}},
        {"x\ry", {"xy"}},
        {rep('a', w + 1), {rep('a', w), "a"}},
        {rep('a', w) + "\n", {rep('a', w), "", ""}},
        {rep('b', 2 * w), {rep('b', w), rep('b', w), ""}},
        {odd + "\n", {odd, ""}},
    };
    for (const auto& c : cases)
      for (size_t cut = 0; cut <= c.text.size(); ++cut) {
        Store s(shape);
        s.add(c.text.substr(0, cut));
        EXPECT_EQ(s.add(c.text.substr(cut)), c.expected) << "width " << w << ", cut at " << cut;
      }
    // Lengths of 0 and below store nothing.
    Store s(shape);
    s.store.append("xyz\n", 0);
    s.store.append("xyz\n", -5);
    EXPECT_EQ(linesOf(s.list), Lines{""});
  }
}

// Against a byte-at-a-time statement of the rules, on random text in random calls: runs longer than the
// store's sixteen-byte blocks, tabs and line ends anywhere, small widths and caps (the oldest lines going
// first; the windows' own caps are checked under Wine).
TEST(LineStore, AgreesWithTheRulesByteByByteOnRandomText) {
  std::mt19937 rng(12345);
  const char alphabet[] = {'a', 'b', '\t', '\n', '\r', '\0', '\x80', ' '};
  for (const Shape shape : {Shape{140, 30000}, Shape{80, 7}, Shape{17, 5}, Shape{8, 3}, Shape{1, 2}}) {
    for (int round = 0; round < 200; ++round) {
      Store s(shape);
      std::deque<std::string> expected{""};
      for (int call = 1 + static_cast<int>(rng() % 5); call > 0; --call) {
        std::string text;
        const unsigned density = 1 + rng() % 60; // from mostly tabs and line ends to long plain runs
        for (int i = static_cast<int>(rng() % 400); i > 0; --i)
          text += rng() % density == 0 ? alphabet[2 + rng() % 3] : alphabet[rng() % 8];
        s.add(text);
        for (const char c : text) {
          std::string& line = expected.back();
          if (c == '\t')
            do
              line += ' ';
            while (line.size() % 8 != 0 && static_cast<int>(line.size()) < shape.width);
          else if (c != '\n' && c != '\r')
            line += c;
          if (c == '\n' || static_cast<int>(line.size()) >= shape.width) {
            expected.emplace_back();
            if (static_cast<long long>(expected.size()) >= shape.cap)
              expected.pop_front();
          }
        }
      }
      ASSERT_EQ(linesOf(s.list), Lines(expected.begin(), expected.end()))
          << "width " << shape.width << " cap " << shape.cap << " round " << round;
    }
  }
}

// Lines are found from either end by index, as the framework's FindIndex finds them from the head.
TEST(LinePosition, EveryIndexFromEitherEndAndOutOfRange) {
  for (const int count : {1, 2, 7, 8}) {
    CStringList list;
    for (int i = 0; i < count; ++i)
      list.AddTail(CString(static_cast<char>('a' + i)));
    for (int i = 0; i < count; ++i)
      EXPECT_EQ(KQLinePosition(list, i), list.FindIndex(i)) << count << " lines, index " << i;
    EXPECT_EQ(KQLinePosition(list, count), nullptr);
    EXPECT_EQ(KQLinePosition(list, -1), nullptr);
  }
}
