// CString as the text windows use it: counted bytes (NUL bytes included) through buffers, edits and
// comparisons; copies that share their characters, also across threads; the framework's exception.
#include <afx.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>

namespace {
std::string bytes(const CString& s) {
  return std::string(s.GetString(), s.GetLength());
}
} // namespace

TEST(CString, NulBytesAreCountedThroughBuffersAndEditsButComparisonsStopAtTheFirst) {
  CString s("a\0b\0", 4);
  s += CString("c");
  EXPECT_EQ(bytes(s), std::string("a\0b\0c", 5));
  EXPECT_TRUE(s == CString("a") && s == "a" && "a" == s && !(s != "a") &&
              CString("a\0c", 3) == CString("a\0b", 3));
  EXPECT_GT(CString("b").Compare("abc"), 0);
  EXPECT_EQ("x" + CString('y', 2) + 'z' + CString("ab", -1), "xyyz");
  s = "hello";
  std::strcpy(s.GetBuffer(20) + 5, " world");
  s.ReleaseBuffer(); // -1: the NUL-terminated length
  EXPECT_EQ(s, "hello world");
  s.GetBufferSetLength(3)[1] = '\0';
  s.ReleaseBuffer(3); // an explicit length keeps the NUL byte
  EXPECT_EQ(bytes(s), std::string("h\0l", 3));
  s.GetBuffer(5)[0] = 'z';
  s.ReleaseBuffer(0); // 0 is a length, not "measure it"
  EXPECT_EQ(bytes(s), "");
  s = "abcdef";
  EXPECT_EQ(s.Delete(1, 2), 4);
  EXPECT_EQ(s.Delete(3, 100), 3); // clipped at the end
  s.Truncate(10);
  s.Truncate(2);
  for (int i = 0; i < 4; ++i) // each time past the room: the bytes read are those of the old array
    s += s;
  EXPECT_EQ(bytes(s), "adadadadadadadadadadadadadadadad");
  s = ""; // in place: the string is not shared
  EXPECT_EQ(bytes(s), "");
}

// As the framework's: copies share the characters until one is written; no move (std::move copies).
TEST(CString, CopiesShareTheirCharactersUntilOneIsWritten) {
  static_assert(sizeof(CString) == sizeof(char*), "one pointer, as the framework's");
  CString a("shared text");
  CString b(a), c, d(a), e(a);
  c = std::move(b);
  EXPECT_EQ(a.GetString(), c.GetString());
  c.GetBuffer(0)[0] = 'S'; // each kind of write leaves the other copies alone
  c.ReleaseBuffer();
  b.Delete(0, 7);
  d.Truncate(6);
  e += "!";
  EXPECT_EQ(bytes(a) + "|" + bytes(b) + "|" + bytes(c) + "|" + bytes(d) + "|" + bytes(e),
            "shared text|text|Shared text|shared|shared text!");
  e = a;
  e.Empty(); // a is no longer shared: written in place
  const char* before = a.GetString();
  EXPECT_EQ(a.GetBuffer(0), before);
  a.ReleaseBuffer();
  a = static_cast<const CString&>(a);
  EXPECT_EQ(a.GetString(), before);
}

// Threads copying one string keep its count exact: a lost count frees the characters under a copy (the
// sanitizers report it) or leaves them shared for ever (the last write below would then move them).
TEST(CString, ThreadsCopyingOneStringKeepItsCountExact) {
  CString text("counted from two threads");
  const char* before = text.GetString();
  auto copier = [&] {
    for (int i = 0; i < 2000000; ++i)
      CString() = CString(text); // a copy made, copied and dropped
  };
  std::thread t1(copier), t2(copier);
  t1.join();
  t2.join();
  EXPECT_EQ(text.GetBuffer(0), before);
  text.ReleaseBuffer();
}

// A length past any string's: the framework's CMemoryException, before the count overflows; the text stays.
TEST(CString, ARequestBeyondAnyStringThrowsTheFrameworksMemoryException) {
  CString s("keep");
  EXPECT_THROW(s.GetBuffer(INT_MAX), CMemoryException*);
  EXPECT_EQ(s, "keep");
}
