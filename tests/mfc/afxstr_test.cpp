// CString as the text windows use it: counted bytes (NUL bytes included) through buffers and appends; copies
// that share their characters, also across threads; the framework's exception.
#include <afx.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>

namespace {
std::string bytes(const CString& s) {
  return std::string(s.GetString(), s.GetLength());
}
} // namespace

// Buffers given back with explicit lengths (NUL bytes kept, 0 a length), appends past the room, truncation;
// copies share their characters until one is written, whichever way (no library test sees a shared write).
TEST(CString, BuffersKeepTheirExplicitLengthsAndCopiesShareUntilOneIsWritten) {
  CString s("a\0b\0", 4);
  s += CString("c");
  EXPECT_EQ(bytes(s), std::string("a\0b\0c", 5));
  s.GetBufferSetLength(3)[1] = '\0';
  s.ReleaseBuffer(3);
  EXPECT_EQ(bytes(s), std::string("a\0b", 3));
  s.Truncate(2);
  for (int i = 0; i < 4; ++i) // each time past the room: the bytes read are those of the old array
    s += s;
  EXPECT_EQ(bytes(s), std::string("a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0a\0", 32));
  s.GetBuffer(5)[0] = 'z';
  s.ReleaseBuffer(0);
  EXPECT_EQ(bytes(s), "");

  static_assert(sizeof(CString) == sizeof(char*), "one pointer, as the framework's");
  CString a("shared text");
  a.GetBuffer(40); // room to spare: even an append that fits must leave the shared characters alone
  a.ReleaseBuffer(11);
  CString b(a), c, d(a), e(a);
  c = std::move(b); // copies: there is no move
  EXPECT_EQ(a.GetString(), c.GetString());
  c.GetBuffer()[0] = 'S'; // each kind of write leaves the other copies alone
  c.ReleaseBuffer(c.GetLength());
  b.GetBufferSetLength(6);
  d.Truncate(0);
  e += "!";
  EXPECT_EQ(bytes(a) + "|" + bytes(b) + "|" + bytes(c) + "|" + bytes(d) + "|" + bytes(e),
            "shared text|shared|Shared text||shared text!");
  e = a;
  e.Empty(); // a is no longer shared: written in place
  const char* before = a.GetString();
  EXPECT_EQ(a.GetBuffer(0), before);
  a.ReleaseBuffer(a.GetLength());
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
