#include "afxstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string bytes(const CString& s) {
  return std::string(s.GetString(), s.GetLength());
}
} // namespace

TEST(CString, EmbeddedNulBytesAreKeptByCopyAndConcatenation) {
  const char raw[] = {'a', '\0', 'b', '\0'};
  CString s(raw, 4);
  EXPECT_EQ(s.GetLength(), 4);
  CString copy = s;
  copy += CString("c");
  EXPECT_EQ(bytes(copy), std::string("a\0b\0c", 5));
  EXPECT_STREQ(static_cast<LPCTSTR>(copy), "a"); // as a C string it stops at the first NUL
  EXPECT_NE(copy, CString("a"));
  EXPECT_EQ(s.Mid(2, 2), CString("b\0", 2));
}

TEST(CString, BufferRoundTrips) {
  CString s("hello");
  char* p = s.GetBuffer(20);
  std::strcpy(p + 5, " world");
  s.ReleaseBuffer(); // -1: the NUL-terminated length
  EXPECT_EQ(s, "hello world");

  p = s.GetBufferSetLength(3);
  EXPECT_EQ(s.GetLength(), 3);
  EXPECT_EQ(std::string(p, 3), "hel");
  p[1] = '\0';
  s.ReleaseBuffer(3); // an explicit length keeps the NUL byte
  EXPECT_EQ(bytes(s), std::string("h\0l", 3));

  p = s.GetBufferSetLength(140); // a line opened at its full width
  std::memset(p, 'x', 140);
  s.ReleaseBuffer(7);
  EXPECT_EQ(s, "xxxxxxx");
}

TEST(CString, SubstringsClipOutOfRangeArguments) {
  CString s("abcdef");
  EXPECT_EQ(s.Mid(4), "ef");
  EXPECT_EQ(s.Mid(4, 100), "ef");
  EXPECT_EQ(s.Mid(10), "");
  EXPECT_EQ(s.Mid(-3, 2), "ab");
  EXPECT_EQ(s.Left(100), "abcdef");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Delete(0, 2), 4);
  EXPECT_EQ(s, "cdef");
  s.Insert(0, CString("xy"));
  EXPECT_EQ(s, "xycdef");
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_STREQ(s.GetString(), "");
}

TEST(CString, AppendFromItsOwnCharacters) {
  CString s("abc");
  for (int i = 0; i < 5; ++i)
    s.Append(s.GetString(), s.GetLength());
  EXPECT_EQ(s.GetLength(), 96);
  EXPECT_EQ(s.Left(6), "abcabc");
  EXPECT_EQ(s.Right(3), "abc");
}

TEST(CString, ComparisonIsByteWiseOverTheWholeLength) {
  EXPECT_LT(CString("abc"), CString("abd"));
  EXPECT_LT(CString("ab"), CString("abc"));
  EXPECT_LT(CString("a", 1), CString("a\0", 2));
  EXPECT_EQ(CString('z', 3), "zzz");
  EXPECT_EQ("x" + CString("y") + 'z', "xyz");
}
