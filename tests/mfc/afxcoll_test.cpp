// CStringList as the text windows use it: lines added at the tail and dropped from the head stay linked both
// ways through node blocks and their reuse; positions by index; a debug build's failed ASSERT.
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

TEST(CStringList, OrderAndPositionsSurviveBlocksAndNodeReuse) {
  for (const INT_PTR blockSize : {1, 3}) {
    CStringList list(blockSize);
    std::string expected;
    for (char c = 'A'; c <= 'Z'; ++c) { // every third line drops the head: nodes come back from the free list
      list.AddTail(CString(c));
      expected += c;
      if (c % 3 == 0 && list.RemoveHead() == CString(expected[0]))
        expected.erase(0, 1);
    }
    EXPECT_EQ(contents(list), expected) << blockSize;
    for (INT_PTR i = 0; i <= list.GetCount(); ++i) {
      POSITION p = list.FindIndex(i);
      EXPECT_EQ(p == nullptr ? CString() : list.GetNext(p),
                CString(expected.c_str() + i, i < list.GetCount()))
          << i;
    }
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    list.RemoveAll();
    list.AddTail("again");
    EXPECT_EQ(contents(list), "again");
  }
#ifdef _DEBUG
  EXPECT_DEATH(CStringList().GetTail(), "afxcoll\\.cpp\\([0-9]+\\): ASSERT failed");
#endif
}
