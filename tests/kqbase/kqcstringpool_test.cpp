// Strings filled by a KQCStringPool. Natively the tests run under AddressSanitizer and LeakSanitizer: a
// block released while a string still uses it, or never released, fails them there.
#include "kqcstringpool.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
std::string contents(const KQCString& s) {
  return std::string(s.data(), static_cast<size_t>(s.length()));
}

// Texts of 1 to 300 bytes, NUL bytes included, with a few longer than a block's share.
std::vector<std::string> sampleTexts() {
  std::vector<std::string> texts;
  for (int i = 0; i < 3000; ++i) {
    std::string text(static_cast<size_t>(1 + i * 37 % 300), static_cast<char>('a' + i % 26));
    text[text.size() / 2] = static_cast<char>(i % 7 == 0 ? '\0' : '#');
    texts.push_back(text);
  }
  texts[100] = std::string(9000, 'L');
  texts[2000] = std::string(70000, 'M');
  return texts;
}
} // namespace

TEST(KQCStringPool, TextsOutliveThePoolAndTheirNeighbours) {
  const std::vector<std::string> texts = sampleTexts();
  auto strings = std::make_unique<std::vector<KQCString>>(texts.size());
  {
    KQCStringPool pool;
    for (size_t i = 0; i < texts.size(); ++i)
      pool.assign((*strings)[i], texts[i].data(), static_cast<int>(texts[i].size()));
    pool.assign((*strings)[5], texts[6].data(), static_cast<int>(texts[6].size())); // replaces a pooled text
  }
  EXPECT_EQ(contents((*strings)[5]), texts[6]);
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i == 5)
      continue;
    ASSERT_EQ(contents((*strings)[i]), texts[i]) << i;
    ASSERT_EQ((*strings)[i].data()[texts[i].size()], '\0') << i;
  }
  // A moved, a copied and a changed string each keep their text when all the others are gone.
  KQCString moved(std::move((*strings)[10]));
  const KQCString copied((*strings)[11]);
  KQCString changed(std::move((*strings)[12]));
  changed.append(KQCString('!'));
  strings.reset();
  EXPECT_EQ(contents(moved), texts[10]);
  EXPECT_EQ(contents(copied), texts[11]);
  EXPECT_EQ(contents(changed), texts[12] + "!");
}

TEST(KQCStringPool, ChangingAPooledStringLeavesItsNeighboursAlone) {
  KQCStringPool pool;
  KQCString a, b, c;
  pool.assign(a, "first", 5);
  pool.assign(b, "second", 6);
  pool.assign(c, "third", 5);
  b.assign(b.data() + 1, 3); // from its own characters: shorter, yet not written in place
  a = "a much longer first text";
  c.append('x', 1);
  EXPECT_STREQ(b.data(), "eco");
  EXPECT_STREQ(a.data(), "a much longer first text");
  EXPECT_STREQ(c.data(), "thirdx");
  KQCString d;
  pool.assign(d, "fourth", 6);
  EXPECT_STREQ(b.data(), "eco");
  EXPECT_STREQ(c.data(), "thirdx");
  pool.assign(d, d.data() + 2, 4); // from its own pooled characters
  EXPECT_STREQ(d.data(), "urth");
  pool.assign(d, "ignored", 0);
  EXPECT_EQ(d.length(), 0);
  EXPECT_STREQ(d.data(), "");
}
