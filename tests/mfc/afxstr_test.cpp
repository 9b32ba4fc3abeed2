// CString: counted bytes (NUL bytes included) through copies, buffers, substrings and comparisons.
#include "afxstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string bytes(const CString& s) {
  return std::string(s.GetString(), s.GetLength());
}
} // namespace

TEST(CString, EmbeddedNulBytesAreKeptAndComparedOverTheWholeLength) {
  CString s("a\0b\0", 4);
  s += CString("c");
  EXPECT_EQ(bytes(s), std::string("a\0b\0c", 5));
  EXPECT_STREQ(static_cast<LPCTSTR>(s), "a"); // as a C string it stops at the first NUL
  EXPECT_NE(s, CString("a"));
  EXPECT_EQ(s.Mid(2, 2), CString("b\0", 2));
  EXPECT_LT(CString("abc"), CString("abd"));
  EXPECT_LT(CString("ab"), CString("abc"));
  EXPECT_LT(CString("a", 1), CString("a\0", 2));
  EXPECT_GT(CString("a\0c", 3), CString("a\0b", 3));
  EXPECT_EQ(CString('z', 3), "zzz");
  EXPECT_EQ("x" + CString("y") + 'z', "xyz");
}

TEST(CString, BufferRoundTrips) {
  CString s("hello");
  std::strcpy(s.GetBuffer(20) + 5, " world");
  s.ReleaseBuffer(); // -1: the NUL-terminated length
  EXPECT_EQ(s, "hello world");
  char* p = s.GetBufferSetLength(3);
  EXPECT_EQ(std::string(p, 3), "hel");
  p[1] = '\0';
  s.ReleaseBuffer(3); // an explicit length keeps the NUL byte
  EXPECT_EQ(bytes(s), std::string("h\0l", 3));
}

TEST(CString, EditsClipOutOfRangeArgumentsAndAppendMayReadItsOwnBytes) {
  CString s("abcdef");
  EXPECT_EQ(s.Mid(4, 100), "ef");
  EXPECT_EQ(s.Mid(10), "");
  EXPECT_EQ(s.Mid(-3, 2), "ab");
  EXPECT_EQ(s.Left(100), "abcdef");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Delete(4, 100), 4);
  EXPECT_EQ(s.Insert(-1, CString("xy")), 6);
  EXPECT_EQ(s, "xyabcd");
  for (int i = 0; i < 4; ++i) // each time past the room: the bytes read are those of the old array
    s.Append(s.GetString(), s.GetLength());
  EXPECT_EQ(s.GetLength(), 96);
  EXPECT_EQ(s.Right(7), "dxyabcd");
}
