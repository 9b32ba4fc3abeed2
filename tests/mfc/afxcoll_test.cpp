#include "afxcoll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> contents(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION p = list.GetHeadPosition(); p != NULL;)
    out.emplace_back(list.GetNext(p).GetString());
  return out;
}
} // namespace

TEST(CStringList, KeepsInsertionOrderBothWays) {
  CStringList list(3); // a small block size: the 4th element needs a second block
  for (const char* s : {"a", "b", "c", "d", "e"})
    list.AddTail(s);
  list.AddHead("z");
  EXPECT_EQ(list.GetCount(), 6);
  EXPECT_EQ(contents(list), (std::vector<std::string>{"z", "a", "b", "c", "d", "e"}));
  EXPECT_EQ(list.GetTail(), "e");
  std::string backwards;
  for (POSITION p = list.GetTailPosition(); p != NULL;)
    backwards += list.GetPrev(p).GetString();
  EXPECT_EQ(backwards, "edcbaz");
}

TEST(CStringList, FindIndexAtBothEndsAndBeyond) {
  CStringList list;
  for (int i = 0; i < 25; ++i)
    list.AddTail(CString(static_cast<char>('A' + i)));
  EXPECT_EQ(list.GetAt(list.FindIndex(0)), "A");
  EXPECT_EQ(list.GetAt(list.FindIndex(1)), "B");
  EXPECT_EQ(list.GetAt(list.FindIndex(12)), "M");
  EXPECT_EQ(list.GetAt(list.FindIndex(13)), "N");
  EXPECT_EQ(list.GetAt(list.FindIndex(23)), "X");
  EXPECT_EQ(list.GetAt(list.FindIndex(24)), "Y");
  EXPECT_EQ(list.FindIndex(25), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  EXPECT_EQ(CStringList().FindIndex(0), nullptr);
}

TEST(CStringList, RemovalKeepsTheRestLinkedAndReusesNodes) {
  CStringList list(2);
  for (const char* s : {"a", "b", "c", "d"})
    list.AddTail(s);
  EXPECT_EQ(list.RemoveHead(), "a");
  list.RemoveAt(list.Find("c"));
  EXPECT_EQ(contents(list), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(list.RemoveTail(), "d");
  EXPECT_EQ(list.GetHead(), "b");
  EXPECT_EQ(list.GetTail(), "b");
  list.AddTail("e"); // from the free list
  list.InsertAfter(list.GetHeadPosition(), CString("x"));
  list.InsertBefore(list.GetHeadPosition(), CString("w"));
  EXPECT_EQ(contents(list), (std::vector<std::string>{"w", "b", "x", "e"}));
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  list.AddTail("again");
  EXPECT_EQ(contents(list), (std::vector<std::string>{"again"}));
}

TEST(CStringList, ElementsKeepEmbeddedNulBytes) {
  CStringList list;
  list.AddTail(CString("a\0b", 3));
  EXPECT_EQ(list.GetHead().GetLength(), 3);
  list.GetHead() += 'c';
  EXPECT_EQ(list.GetHead(), CString("a\0bc", 4));
}
