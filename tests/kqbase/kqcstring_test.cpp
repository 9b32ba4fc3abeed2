#include "kqcstring.h"

#include <gtest/gtest.h>

#include <string>

TEST(KQCString, EmptyAndOneCharacter) {
  KQCString empty;
  EXPECT_EQ(empty.length(), 0);
  EXPECT_STREQ(empty.data(), "");
  KQCString nul('\0');
  EXPECT_EQ(nul.length(), 1);
  KQCString q('q');
  EXPECT_STREQ(static_cast<const char*>(q), "q");
}

TEST(KQCString, CopiesAreIndependent) {
  KQCString a;
  a = "hello";
  KQCString b(a);
  b.append('!', 1);
  EXPECT_STREQ(a.data(), "hello");
  EXPECT_STREQ(b.data(), "hello!");
  a = b;
  EXPECT_EQ(a.length(), 6);
  a = a; // self-assignment keeps the text
  EXPECT_STREQ(a.data(), "hello!");
  KQCString moved(std::move(a));
  EXPECT_STREQ(moved.data(), "hello!");
  EXPECT_EQ(a.length(), 0); // NOLINT(bugprone-use-after-move): moved-from is documented empty
}

TEST(KQCString, AppendOneCharacterAtATimeMatchesStdString) {
  KQCString s;
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    const char ch = static_cast<char>('a' + i % 26);
    s.append(ch, 1);
    expected += ch;
  }
  ASSERT_EQ(s.length(), static_cast<int>(expected.size()));
  EXPECT_EQ(std::string(s.data(), s.length()), expected);
  EXPECT_EQ(s.data()[s.length()], '\0');
}

TEST(KQCString, AppendToItselfAndFromPointerIntoItself) {
  KQCString s;
  s = "abc";
  s.append(s);
  EXPECT_STREQ(s.data(), "abcabc");
  s = s.data() + 3; // assignment from its own characters
  EXPECT_STREQ(s.data(), "abc");
  s.append('x', 0);
  s.append('x', -4);
  EXPECT_EQ(s.length(), 3);
  s = static_cast<const char*>(nullptr);
  EXPECT_EQ(s.length(), 0);
  KQCString never;
  never = static_cast<const char*>(nullptr); // an empty string given null stays empty
  EXPECT_STREQ(never.data(), "");
}

TEST(KQCString, CountedAssignmentKeepsNulBytesAndMayReadItsOwnCharacters) {
  KQCString s;
  s.assign("a\0b\0", 4);
  ASSERT_EQ(s.length(), 4);
  EXPECT_EQ(std::string(s.data(), 5), std::string("a\0b\0\0", 5)); // and the terminator after them
  s.assign("longer text than before", 11);
  EXPECT_STREQ(s.data(), "longer text");
  s.assign(s.data() + 7, 4); // from its own characters, shrinking in place
  EXPECT_STREQ(s.data(), "text");
  s.assign("ignored", 0);
  EXPECT_EQ(s.length(), 0);
  EXPECT_STREQ(s.data(), "");
  s.assign(nullptr, 5);
  EXPECT_EQ(s.length(), 0);
}
