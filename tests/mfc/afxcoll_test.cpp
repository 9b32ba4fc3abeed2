// CStringList: links in both directions through insertion and removal, node blocks and their reuse,
// positions by index.
#include <afx.h>
#include <afxcoll.h>

#include <gtest/gtest.h>

#include <string>

namespace {
// The elements from head to tail; fails the test when the walk from the tail or the count disagrees.
std::string contents(const CStringList& list) {
  std::string forwards, backwards;
  INT_PTR n = 0;
  for (POSITION p = list.GetHeadPosition(); p != NULL; ++n)
    forwards += list.GetNext(p).GetString();
  for (POSITION p = list.GetTailPosition(); p != NULL;)
    backwards.insert(0, list.GetPrev(p).GetString());
  EXPECT_EQ(backwards, forwards);
  EXPECT_EQ(n, list.GetCount());
  return forwards;
}
} // namespace

TEST(CStringList, BothDirectionsStayLinkedThroughInsertionAndRemoval) {
  CStringList list(2); // small blocks: new nodes come from further blocks and from the free list
  for (const char* s : {"a", "b", "c", "d", "e"})
    list.AddTail(s);
  list.AddHead("z");
  EXPECT_EQ(contents(list), "zabcde");
  EXPECT_EQ(list.RemoveHead(), "z");
  EXPECT_EQ(list.RemoveTail(), "e");
  list.RemoveAt(list.Find("c"));
  EXPECT_EQ(contents(list), "abd");
  list.RemoveAt(list.GetHeadPosition());
  list.RemoveAt(list.GetTailPosition());
  EXPECT_EQ(contents(list), "b");
  list.InsertAfter(list.GetHeadPosition(), CString("x"));
  list.InsertBefore(list.GetHeadPosition(), CString("w"));
  list.InsertBefore(list.GetTailPosition(), CString("y"));
  list.InsertAfter(list.GetHeadPosition(), CString("v"));
  EXPECT_EQ(contents(list), "wvbyx");
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(contents(list), "");
  list.AddTail("again");
  EXPECT_EQ(contents(list), "again");
}

TEST(CStringList, FindIndexFromEitherEndAndOutOfRange) {
  CStringList list;
  for (char c = 'A'; c < 'A' + 25; ++c)
    list.AddTail(CString(c));
  for (const int i : {0, 1, 12, 13, 23, 24}) {
    const POSITION p = list.FindIndex(i);
    ASSERT_NE(p, nullptr) << i;
    EXPECT_EQ(list.GetAt(p), CString(static_cast<char>('A' + i))) << i;
  }
  EXPECT_EQ(list.FindIndex(25), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  EXPECT_EQ(CStringList().FindIndex(0), nullptr);
  EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST(CStringList, AListAddedAtEitherEndKeepsItsOrderAlsoWhenAddedToItself) {
  CStringList list(3), other;
  for (const char* s : {"a", "b"})
    list.AddTail(s);
  for (const char* s : {"x", "y", "z"})
    other.AddTail(s);
  list.AddHead(&other);
  list.AddTail(&other);
  EXPECT_EQ(contents(list), "xyzabxyz");
  EXPECT_EQ(contents(other), "xyz");
  other.AddTail(&other);
  other.AddHead(&other);
  EXPECT_EQ(contents(other), "xyzxyzxyzxyz");
}
