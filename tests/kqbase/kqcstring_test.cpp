// KQCString, alone and filled by a KQCStringPool: NUL bytes, sources inside the string itself; a pool block
// released too early or never shows under the native sanitizers.
#include "kqcstringpool.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
// The characters and the terminator after them.
std::string bytes(const KQCString& s) {
  return std::string(s.data(), static_cast<size_t>(s.length()) + 1);
}
} // namespace

// As the message table fills and copies its values: assignments and copies, NUL bytes counted.
TEST(KQCString, CopiesAndAssignmentsKeepNulBytesAndMayReadTheirOwnCharacters) {
  EXPECT_EQ(bytes(KQCString()) + bytes(KQCString('\0')), std::string("\0\0\0", 3));
  KQCString a, b;
  a = "hello";
  b = a;
  KQCString c(b);
  b = "a text longer than the one before, past the first room"; // the copies keep theirs
  c = c;                                                        // self-assignment keeps the text
  a = a.data() + 2;                                             // from its own characters
  EXPECT_EQ(std::string(a) + "|" + b.data() + "|" + c.data(),
            "llo|a text longer than the one before, past the first room|hello");
  const char* null = nullptr;
  a = null;
  c = null; // an empty string given null stays empty
  EXPECT_EQ(bytes(a) + bytes(c), std::string("\0\0", 2));
  a.assign("a\0b\0", 4);
  EXPECT_EQ(bytes(a), std::string("a\0b\0\0", 5));
  a.assign(a.data() + 1, 2); // from its own characters, shrinking in place
  EXPECT_EQ(bytes(a), std::string("\0b\0", 3));
  a.assign("ignored", 0);
  b.assign(nullptr, 5);
  EXPECT_EQ(bytes(a) + bytes(b), std::string("\0\0", 2));
}

TEST(KQCStringPool, TextsOutliveThePoolAndTheirNeighbours) {
  std::vector<std::string> texts; // 1 to 300 bytes, NUL bytes included, and two longer than a block's share
  for (int i = 0; i < 3000; ++i) {
    texts.emplace_back(static_cast<size_t>(1 + i * 37 % 300), static_cast<char>('a' + i % 26));
    texts.back()[texts.back().size() / 2] = static_cast<char>(i % 7 == 0 ? '\0' : '#');
  }
  texts[100] = std::string(9000, 'L');
  texts[2000] = std::string(70000, 'M');
  auto strings = std::make_unique<std::vector<KQCString>>(texts.size());
  {
    KQCStringPool pool;
    for (size_t i = 0; i < texts.size(); ++i)
      pool.assign((*strings)[i], texts[i].data(), static_cast<int>(texts[i].size()));
    pool.assign((*strings)[5], texts[6].data(), static_cast<int>(texts[6].size())); // replaces a pooled text
  }
  texts[5] = texts[6];
  for (size_t i = 0; i < texts.size(); ++i)
    ASSERT_EQ(bytes((*strings)[i]), texts[i] + '\0') << i;
  // A moved, a copied and a changed string each keep their text when all the others are gone.
  KQCString moved(std::move((*strings)[10]));
  const KQCString copied((*strings)[11]);
  KQCString changed(std::move((*strings)[12]));
  changed.append(KQCString('!'));
  strings.reset();
  EXPECT_EQ(bytes(moved) + bytes(copied) + bytes(changed),
            texts[10] + '\0' + texts[11] + '\0' + texts[12] + "!" + '\0');
  // Changing a pooled string leaves its neighbours alone.
  {
    KQCStringPool pool;
    KQCString a, b, c;
    pool.assign(a, "first", 5);
    pool.assign(b, "second", 6);
    pool.assign(c, "third", 5);
    b.assign(b.data() + 1, 3); // from its own characters: shorter, yet not written in place
    a = "a much longer first text";
    c.append('x', 1);
    KQCString d;
    pool.assign(d, "fourth", 6);
    pool.assign(d, d.data() + 2, 4); // from its own pooled characters
    EXPECT_EQ(std::string(a) + "|" + std::string(b) + "|" + std::string(c) + "|" + std::string(d),
              "a much longer first text|eco|thirdx|urth");
    pool.assign(a, "ignored", 0);
    EXPECT_EQ(bytes(a), std::string("\0", 1));
  }
}
