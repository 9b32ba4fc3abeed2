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

// Against a byte-at-a-time statement of the rules, on random text in random calls (runs past the 16-byte
// blocks, tabs, line ends, control and high bytes), at both windows' widths and at small widths and caps.
TEST(LineStore, AgreesWithTheRulesByteByByteOnRandomText) {
  std::mt19937 rng(12345);
  const char alphabet[] = {'a', 'b', '\t', '\n', '\r', '\0', '\x80', ' ', '\x0b', '\xff'};
  for (const Shape shape : {Shape{140, 30000}, Shape{80, 7}, Shape{17, 5}, Shape{8, 3}, Shape{1, 2}}) {
    for (int round = 0; round < 200; ++round) {
      Store s(shape);
      std::deque<std::string> expected{""};
      for (int call = 1 + static_cast<int>(rng() % 5); call > 0; --call) {
        std::string text;
        const unsigned density = 1 + rng() % 60; // from mostly tabs and line ends to long plain runs
        for (int i = static_cast<int>(rng() % 400); i > 0; --i)
          text += rng() % density == 0 ? alphabet[2 + rng() % 3] : alphabet[rng() % sizeof(alphabet)];
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

// scrollOffTop alone drops the oldest line once the list holds the cap, and only then.
TEST(LineStore, ScrollOffTopDropsTheOldestAtTheCapOnly) {
  Store s(Shape{8, 3});
  s.list.AddTail("b");
  s.list.AddTail("c");
  s.store.scrollOffTop();
  EXPECT_EQ(linesOf(s.list), (Lines{"b", "c"}));
  s.store.scrollOffTop();
  EXPECT_EQ(linesOf(s.list), (Lines{"b", "c"}));
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
