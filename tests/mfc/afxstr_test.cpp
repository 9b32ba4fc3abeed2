// CString: counted bytes (NUL bytes included) through copies, buffers, substrings and comparisons;
// copies that share their characters.
#include <afx.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <type_traits>

namespace {
std::string bytes(const CString& s) {
  return std::string(s.GetString(), s.GetLength());
}
} // namespace

TEST(CString, EmbeddedNulBytesAreKeptButComparisonsStopAtTheFirst) {
  CString s("a\0b\0", 4);
  s += CString("c");
  EXPECT_EQ(bytes(s), std::string("a\0b\0c", 5));
  EXPECT_STREQ(static_cast<LPCTSTR>(s), "a"); // as a C string it stops at the first NUL
  EXPECT_EQ(bytes(s.Mid(2, 2)), std::string("b\0", 2));
  // Comparisons see the C strings, as the framework's do.
  EXPECT_TRUE(s == CString("a") && s == "a" && "a" == s && s.Compare("a") == 0);
  EXPECT_FALSE(s != CString("a"));
  EXPECT_TRUE(CString("a\0c", 3) == CString("a\0b", 3));
  EXPECT_LT(CString("abc"), CString("abd"));
  EXPECT_LT(CString("ab"), CString("abc"));
  EXPECT_GT(CString("b").Compare("abc"), 0);
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
  EXPECT_EQ(s.Insert(-1, "y"), 5);
  EXPECT_EQ(s.Insert(0, 'x'), 6);
  EXPECT_EQ(s.Insert(100, static_cast<LPCTSTR>(nullptr)), 6);
  EXPECT_EQ(s, "xyabcd");
  for (int i = 0; i < 4; ++i) // each time past the room: the bytes read are those of the old array
    s.Append(s.GetString(), s.GetLength());
  EXPECT_EQ(s.GetLength(), 96);
  EXPECT_EQ(s.Right(7), "dxyabcd");
}

// As the framework's: a copy shares the characters, the first write gives the written string its own,
// and there is no move (std::move copies and leaves the source as it was).
TEST(CString, CopiesShareTheirCharactersUntilOneIsWritten) {
  static_assert(sizeof(CString) == sizeof(char*), "one pointer, as the framework's");
  CString a("shared text");
  CString b(a);
  CString c;
  c = std::move(b);
  EXPECT_EQ(b, "shared text");
  EXPECT_EQ(a.GetString(), b.GetString());
  EXPECT_EQ(a.GetString(), c.GetString());

  // Each kind of write leaves the other copies alone.
  c.GetBuffer(0)[0] = 'S';
  c.ReleaseBuffer();
  b.Delete(0, 7);
  CString d(a), e(a), f(a), g(a);
  d.Truncate(6);
  e += "!";
  f.Insert(0, '>');
  g = "other";
  EXPECT_EQ(a, "shared text");
  EXPECT_EQ(c, "Shared text");
  EXPECT_EQ(b, "text");
  EXPECT_EQ(d, "shared");
  EXPECT_EQ(e, "shared text!");
  EXPECT_EQ(f, ">shared text");
  EXPECT_EQ(g, "other");

  // A string no longer shared is written in place.
  CString h(a);
  h.Empty();
  const char* before = a.GetString();
  EXPECT_EQ(a.GetBuffer(0), before);
  a.ReleaseBuffer();
  const CString& self = a;
  a = self;
  EXPECT_EQ(a.GetString(), before);
}

// The count is kept exactly when threads copy and drop one string at the same time: a lost count would
// free the characters under a copy (the sanitizers report it) or leave them shared for ever (the last
// write below would then move them).
TEST(CString, ThreadsCopyingOneStringKeepItsCountExact) {
  CString text("counted from two threads");
  const char* before = text.GetString();
  auto copier = [&] {
    for (int i = 0; i < 2000000; ++i) {
      CString copy(text);
      CString other;
      other = copy;
    }
  };
  std::thread t1(copier), t2(copier);
  t1.join();
  t2.join();
  EXPECT_EQ(text.GetBuffer(0), before);
  text.ReleaseBuffer();
  EXPECT_EQ(text, "counted from two threads");
}

// Memory that cannot be had is reported as the framework reports it: its own CMemoryException, which
// Delete() leaves alone; the string keeps what it held.
TEST(CString, ARequestBeyondAnyStringThrowsTheFrameworksMemoryException) {
  CString s("keep");
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      s.GetBuffer(INT_MAX);
      ADD_FAILURE() << "no exception";
    } catch (CMemoryException* e) {
      EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CSimpleException)));
      char text[32];
      EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
      EXPECT_STREQ(text, "Out of memory.");
      e->Delete();
    }
  }
  EXPECT_EQ(s, "keep");
}
