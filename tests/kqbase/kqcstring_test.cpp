// KQCString: the operations the message catalogue relies on, with NUL bytes counted and sources that
// point into the string itself.
#include "kqcstring.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// The characters and the terminator after them.
std::string bytes(const KQCString& s) {
  return std::string(s.data(), static_cast<size_t>(s.length()) + 1);
}
} // namespace

TEST(KQCString, CopiesAndMovesAreIndependentAndAssignmentMayReadItsOwnText) {
  EXPECT_EQ(bytes(KQCString()), std::string("\0", 1));
  EXPECT_EQ(bytes(KQCString('\0')), std::string("\0\0", 2));
  KQCString a, b;
  a = "hello";
  b = a;
  b.append('!', 1);
  KQCString c(b);
  c.append(KQCString('?'));
  EXPECT_STREQ(static_cast<const char*>(a), "hello");
  EXPECT_STREQ(b.data(), "hello!");
  EXPECT_STREQ(c.data(), "hello!?");
  c = c; // self-assignment keeps the text
  KQCString moved(std::move(c));
  EXPECT_STREQ(moved.data(), "hello!?");
  EXPECT_EQ(c.length(), 0); // NOLINT(bugprone-use-after-move): moved-from is documented empty
  a = std::move(moved);
  EXPECT_STREQ(a.data(), "hello!?");
  a = a.data() + 2; // from its own characters
  EXPECT_STREQ(a.data(), "llo!?");
  const char* null = nullptr;
  a = null;
  c = null; // an empty string given null stays empty
  EXPECT_EQ(bytes(a), std::string("\0", 1));
  EXPECT_EQ(bytes(c), std::string("\0", 1));
}

TEST(KQCString, AppendsAndCountedAssignmentKeepNulBytesAndMayReadTheirOwnCharacters) {
  KQCString s;
  std::string expected;
  for (int i = 0; i < 100000; ++i) { // one character at a time, across many regrowths
    const char ch = static_cast<char>(i % 97 == 0 ? '\0' : 'a' + i % 26);
    s.append(ch, 1);
    expected += ch;
  }
  EXPECT_EQ(bytes(s), expected + '\0');
  s.assign("a\0b\0", 4);
  EXPECT_EQ(bytes(s), std::string("a\0b\0\0", 5));
  s.assign("abc", 3);
  s.append(s); // self-append
  EXPECT_EQ(bytes(s), std::string("abcabc\0", 7));
  s.assign(s.data() + 4, 2); // from its own characters, shrinking in place
  s.append('x', 0);
  s.append('x', -4);
  EXPECT_EQ(bytes(s), std::string("bc\0", 3));
  s.assign("ignored", 0);
  EXPECT_EQ(bytes(s), std::string("\0", 1));
  s.assign(nullptr, 5);
  EXPECT_EQ(bytes(s), std::string("\0", 1));
}
