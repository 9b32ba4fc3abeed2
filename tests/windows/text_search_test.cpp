#include "find_text.h"
#include "text_selection.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
void fill(CStringList& list, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    list.AddTail(CString(line.data(), static_cast<int>(line.size())));
}

unsigned char folded(unsigned char c, bool matchCase) {
  if (matchCase)
    return c;
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 32 : c;
}
bool word(unsigned char c) {
  return isalnum(c) || c == '_' || c >= 0x80;
}

// Every match in the order of the lines, by the plainest search there is.
std::vector<KQTextSelection> allMatches(const std::vector<std::string>& lines, const std::string& what,
                                        const KQFindOptions& o) {
  std::vector<KQTextSelection> found;
  const auto n = static_cast<int>(what.size());
  for (size_t l = 0; l < lines.size(); ++l) {
    const auto* s = reinterpret_cast<const unsigned char*>(lines[l].data());
    const auto len = static_cast<int>(lines[l].size());
    for (int at = 0; at + n <= len; ++at) {
      bool same = true;
      for (int k = 0; k < n && same; ++k)
        same = folded(s[at + k], o.matchCase) == folded(static_cast<unsigned char>(what[k]), o.matchCase);
      const bool startOk = at == 0 || !word(s[at - 1]) || !word(s[at]);
      const bool endOk = at + n == len || !word(s[at + n]) || !word(s[at + n - 1]);
      if (same && (!o.wholeWord || (startOk && endOk)))
        found.push_back({{static_cast<long long>(l), at}, {static_cast<long long>(l), at + n}});
    }
  }
  return found;
}
} // namespace

// Random lines of mixed case, Latin-1, word and non-word bytes (long enough for the 16-byte scan and its
// tail), searched from random places both ways with every option, against the plain search above.
TEST(FindText, AgreesWithAPlainSearch) {
  std::mt19937 random(7);
  const std::string alphabet = std::string("aAbB _.\xC9\xE9\xD7\xF7", 12) + std::string(1, '\0');
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> lines(1 + random() % 5);
    for (std::string& line : lines)
      for (int i = random() % 50; i > 0; --i)
        line += alphabet[random() % alphabet.size()];
    std::string what;
    for (int i = 1 + random() % 3; i > 0; --i)
      what += alphabet[random() % alphabet.size()];
    const KQFindOptions options{random() % 2 == 0, random() % 2 == 0, random() % 2 == 0};
    const KQTextPosition from{static_cast<long long>(random() % (lines.size() + 2)) - 1,
                              static_cast<int>(random() % 60)};
    CStringList list;
    fill(list, lines);
    const std::vector<KQTextSelection> all = allMatches(lines, what, options);
    const KQTextPosition start = from.line < 0 ? KQTextPosition{0, 0}
                                 : from.line >= static_cast<long long>(lines.size())
                                     ? KQTextPosition{static_cast<long long>(lines.size()) - 1, 1 << 30}
                                     : from;
    const KQTextSelection* expected = nullptr;
    for (const KQTextSelection& m : all)
      if (options.down ? !(m.anchor < start) : m.anchor < start) {
        expected = &m;
        if (options.down)
          break;
      }
    KQTextSelection match{{-5, -5}, {-5, -5}};
    const bool found = KQFindText(list, what.data(), static_cast<int>(what.size()), from, options, match);
    const std::string context = "round " + std::to_string(round);
    ASSERT_EQ(found, expected != nullptr) << context;
    if (expected != nullptr) {
      EXPECT_EQ(match.anchor, expected->anchor) << context;
      EXPECT_EQ(match.caret, expected->caret) << context;
    } else {
      EXPECT_EQ(match.anchor, (KQTextPosition{-5, -5})) << context;
    }
  }
  KQTextSelection match{};
  CStringList list;
  fill(list, {"abc"});
  EXPECT_FALSE(KQFindText(list, "a", 0, {0, 0}, {true, true, false}, match)); // nothing to find
}

// Snapping, words, select-all and a selection's text across lines (a NUL byte ends a line's clipboard text).
TEST(TextSelection, PositionsWordsAndText) {
  CStringList list;
  fill(list, {"alpha  be_ta, x", "", std::string("ab\0cd", 5), "last"});
  const struct {
    KQTextPosition at, snapped, wordBegin, wordEnd;
  } cases[] = {
      {{0, 2}, {0, 2}, {0, 0}, {0, 5}},     // inside a word
      {{0, 5}, {0, 5}, {0, 5}, {0, 7}},     // a run of spaces
      {{0, 12}, {0, 12}, {0, 12}, {0, 13}}, // punctuation alone
      {{0, 99}, {0, 15}, {0, 14}, {0, 15}}, // beyond the end: the last word
      {{-3, 1}, {0, 1}, {0, 0}, {0, 5}},    // above the first line
      {{1, 4}, {1, 0}, {1, 0}, {1, 0}},     // an empty line
      {{9, 9}, {3, 4}, {3, 0}, {3, 4}},     // below the last line
      {{0, 8}, {0, 8}, {0, 7}, {0, 12}},    // '_' is a word character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KQSnapPosition(list, c.at), c.snapped) << c.at.line << ":" << c.at.column;
    const KQTextSelection w = KQWordAt(list, c.at);
    EXPECT_EQ(w.begin(), c.wordBegin) << c.at.line << ":" << c.at.column;
    EXPECT_EQ(w.end(), c.wordEnd) << c.at.line << ":" << c.at.column;
  }
  EXPECT_EQ(KQSelectAll(list).end(), (KQTextPosition{3, 4}));

  // A selection made upwards (caret before anchor) over all four lines.
  const KQTextSelection selection{{3, 2}, {0, 7}};
  EXPECT_EQ(KQSelectedRows(selection).first, 0);
  EXPECT_EQ(KQSelectedRows(selection).end, 4);
  KQCopiedLines copied;
  ASSERT_TRUE(KQCopyLines(list, KQSelectedRows(selection), copied));
  EXPECT_EQ(KQSelectedText(copied, selection), "be_ta, x\r\n\r\nab\r\nla");
  const KQTextSelection inside{{2, 3}, {2, 5}}; // after the NUL: nothing
  ASSERT_TRUE(KQCopyLines(list, KQSelectedRows(inside), copied));
  EXPECT_EQ(KQSelectedText(copied, inside), "");
  const KQTextSelection part{{0, 1}, {0, 4}};
  ASSERT_TRUE(KQCopyLines(list, KQSelectedRows(part), copied));
  EXPECT_EQ(KQSelectedText(copied, part), "lph");
  EXPECT_GE(KQSelectedColumns(part, 1, 0).first, KQSelectedColumns(part, 1, 0).end);
  EXPECT_EQ(KQSelectedRows({{2, 2}, {2, 2}}).end, 0); // empty: no rows
}
