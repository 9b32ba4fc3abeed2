// The opt-in windows' platform-free wheel and copy parts: rotation to steps, rows copied and their text.
#include "copy_lines.h"
#include "view_math.h"
#include "wheel_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(WheelSteps, NotchesPartialRotationsReversalsPagesAndOff) {
  long long pending = 0;
  // Whole notches: the setting's steps per notch, signed as the rotation.
  EXPECT_EQ(KQTakeWheelSteps(pending, 120, 3).count, 3);
  EXPECT_EQ(KQTakeWheelSteps(pending, -240, 3).count, -6);
  EXPECT_EQ(pending, 0);
  // 30 per message at 3 lines a notch: a line every 40, the rest kept.
  std::vector<int> got;
  for (int i = 0; i < 8; ++i)
    got.push_back(KQTakeWheelSteps(pending, 30, 3).count);
  EXPECT_EQ(got, (std::vector<int>{0, 1, 1, 1, 0, 1, 1, 1}));
  // 7 lines a notch does not divide 120: 17 units give no line, 18 give one (18 * 7 = 126), exactly.
  EXPECT_EQ(KQTakeWheelSteps(pending = 0, 17, 7).count, 0);
  EXPECT_EQ(KQTakeWheelSteps(pending = 0, 18, 7).count, 1);
  int total = 0;
  pending = 0;
  for (int i = 0; i < 120; ++i)
    total += KQTakeWheelSteps(pending, 1, 7).count;
  EXPECT_EQ(total, 7);
  // Turning back forgets what was pending in the other direction.
  EXPECT_EQ(KQTakeWheelSteps(pending = 0, 100, 1).count, 0);
  EXPECT_EQ(KQTakeWheelSteps(pending, -30, 1).count, 0);
  EXPECT_EQ(KQTakeWheelSteps(pending, -90, 1).count, -1);
  EXPECT_EQ(KQTakeWheelSteps(pending = 1, -120, 1).count, -1); // however little is pending
  // A page per notch, and the wheel turned off.
  const KQWheelSteps page = KQTakeWheelSteps(pending = 0, -120, kqWheelPageScroll);
  EXPECT_TRUE(page.pages && page.count == -1);
  EXPECT_EQ(KQTakeWheelSteps(pending, 60, kqWheelPageScroll).count, 0);
  EXPECT_EQ(KQTakeWheelSteps(pending, 60, kqWheelPageScroll).count, 1);
  EXPECT_EQ(KQTakeWheelSteps(pending = 90, 120, 0).count, 0);
  EXPECT_EQ(pending, 0);
  EXPECT_FALSE(KQTakeWheelSteps(pending, 120, 3).pages);
  // A huge setting is limited, without overflow.
  EXPECT_EQ(KQTakeWheelSteps(pending = 0, 32767 * 100, 4000000000u).count, 32767 * 100 / 120 * 10000 + 8333);
}

namespace {
std::string copied(const std::vector<std::string>& stored, long long first, long long end) {
  CStringList lines(10);
  for (const std::string& s : stored)
    lines.AddTail(CString(s.data(), static_cast<int>(s.size())));
  KQCopiedLines rows;
  EXPECT_TRUE(KQCopyLines(lines, KQTextRows(lines, {first, end}), rows));
  return KQClipboardText(rows);
}
} // namespace

TEST(CopyLines, RangesTheEmptyCurrentLineNulBytesAndCrLf) {
  const std::vector<std::string> stored{"zero", "", "two", std::string("th\0ree", 6), "four", ""};
  EXPECT_EQ(copied(stored, 0, 6), "zero\r\n\r\ntwo\r\nth\r\nfour\r\n"); // empty current line left out
  EXPECT_EQ(copied(stored, 1, 3), "\r\ntwo\r\n");                       // an empty stored line is copied
  EXPECT_EQ(copied(stored, -4, 1), "zero\r\n");
  EXPECT_EQ(copied(stored, 4, 99), "four\r\n");
  EXPECT_EQ(copied(stored, 5, 6), "");
  EXPECT_EQ(copied(stored, 3, 3), "");
  EXPECT_EQ(copied({"a", "current"}, 0, 2), "a\r\ncurrent\r\n"); // a current line with text is copied
  EXPECT_EQ(copied({""}, 0, 1), "");
  // Far from the head: lines are found from the nearer end, and each is copied whole.
  std::vector<std::string> many;
  for (int i = 0; i < 1000; ++i)
    many.push_back(std::to_string(i) + std::string(static_cast<size_t>(i % 150), 'x'));
  EXPECT_EQ(copied(many, 998, 1000), many[998] + "\r\n" + many[999] + "\r\n");
}
