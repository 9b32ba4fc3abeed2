// Explains a message file record by record, using the catalogue's reader and its traces.
#include "msgcheck_analysis.h"

#include "kqmessages.h"
#include "msgcheck_trace.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace {
using Trace = KQMessageRecordTrace;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}
bool isBlankInt(int c) {
  return c == ' ' || c == '\t';
}
bool hasContent(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return !isBlank(c); });
}

// The number a person sees at the start of a line: blanks, an optional sign, digits.
std::optional<long long> visibleNumber(const std::string& prefix) {
  size_t i = 0;
  while (i < prefix.size() && isBlank(prefix[i]))
    ++i;
  bool negative = false;
  if (i < prefix.size() && (prefix[i] == '+' || prefix[i] == '-'))
    negative = prefix[i++] == '-';
  const size_t first = i;
  long long value = 0;
  for (; i < prefix.size() && prefix[i] >= '0' && prefix[i] <= '9'; ++i)
    if (value < 1000000000000LL)
      value = value * 10 + (prefix[i] - '0');
  if (i == first)
    return std::nullopt;
  return negative ? -value : value;
}

// Bytes as a person can read them on one line.
std::string printable(const std::string& s) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (c < 0x20 || c >= 0x7f)
      out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
    else
      out += static_cast<char>(c);
  }
  return out;
}

std::string goesUnder(std::int32_t number, std::optional<long long> seen) {
  std::string s = "goes under number " + std::to_string(number);
  if (seen && *seen != number)
    s += ", not " + std::to_string(*seen);
  return s;
}

class Explainer : public KQMessageObserver {
public:
  explicit Explainer(MsgCheckResult& result) : result(result) {}

  void record(const Trace& t, std::int32_t number, std::string_view text) override {
    if (t.end == Trace::End::NoText) {
      if (t.firstContentLine != 0) { // not just blank lines at the end
        ++result.records;
        add(t.firstContentLine, MsgCheckReport::NoQuoteAtEnd,
            "no double quote before the end of the file: nothing is stored");
      }
      return;
    }
    ++result.records;
    explainNumber(t, number);
    if (t.number == Trace::Number::Saturated) {
      std::string digits = t.numberPart;
      digits.erase(0, digits.find_first_not_of(" \t\n\v\f\r"));
      add(t.numberLine, MsgCheckReport::BeyondRange,
          "number " + printable(digits) + (t.numberPart.size() >= 40 ? "..." : "") +
              " is beyond the 32-bit range: it " + goesUnder(number, std::nullopt));
    }
    if (t.end == Trace::End::Unterminated)
      add(t.quoteLine, MsgCheckReport::Unterminated,
          "text has no closing double quote: it runs to the end of the file");
    if (t.oddEscapeLine != 0) {
      if (t.oddEscape == "\\\\")
        add(t.oddEscapeLine, MsgCheckReport::DoubleBackslash,
            "\\\\ stores no backslash: there is no escape for a backslash");
      else if (t.oddEscape == "\\\n")
        add(t.oddEscapeLine, MsgCheckReport::BackslashAtLineEnd,
            "backslash at the end of the line stores nothing: the line end stays in the text");
      else
        add(t.oddEscapeLine, MsgCheckReport::UnknownEscape,
            printable(t.oddEscape) + " stores \"" + printable(t.oddEscape.substr(1)) +
                "\" alone: only \\n, \\r, \\t and \\\" are escapes");
    }
    if (t.hasNul)
      add(t.quoteLine, MsgCheckReport::NulByte, "text holds a NUL byte: look-ups show it only up to there");
    if (text.empty()) {
      add(t.quoteLine, MsgCheckReport::EmptyText, "empty text: nothing is stored");
      return;
    }
    ++result.stored;
    const auto [first, isNew] = firstLine.try_emplace(number, t.quoteLine);
    if (!isNew)
      add(t.quoteLine, MsgCheckReport::RepeatedNumber,
          "number " + std::to_string(number) + " repeats line " + std::to_string(first->second) +
              ": the later text replaces the earlier one");
  }

  void finish() {
    result.numbers = firstLine.size();
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const MsgCheckFinding& a, const MsgCheckFinding& b) { return a.line < b.line; });
  }

private:
  // Where the record's number came from, when that is not where a person would look for it.
  void explainNumber(const Trace& t, std::int32_t number) {
    const auto seen = visibleNumber(t.quoteLinePrefix);
    const std::string quoteLine = std::to_string(t.quoteLine);
    const bool leftOver = !t.startsLine && t.quoteLine > t.firstLine;
    if (leftOver && (t.firstChar != '\n' || t.number == Trace::Number::Missing)) {
      // The record began with what the previous record left after its closing quote and trailer (a blank
      // trailer followed by a line starting with a sign does it too: the line feed then starts the record).
      if (t.swallowingLine == t.firstLine)
        add(t.firstLine, MsgCheckReport::TextAfterQuote,
            "text after the closing double quote swallows the record on line " + quoteLine + ": its text " +
                goesUnder(number, seen));
      else
        add(t.firstLine, MsgCheckReport::BlanksAfterQuote,
            "blanks after the closing double quote: the record on line " + quoteLine + " " +
                goesUnder(number, seen));
    } else if (t.swallowingLine != 0 && hasContent(t.quoteLinePrefix)) {
      add(t.swallowingLine, MsgCheckReport::LineWithoutQuote,
          "line without a double quote swallows the record on line " + quoteLine + ": its text " +
              goesUnder(number, seen));
    } else if (t.number == Trace::Number::Missing) {
      // Two white-space characters in a row: "%ld" would skip both, but the number part holds only one.
      const bool firstBlank = isBlankInt(t.firstChar), secondBlank = isBlankInt(t.endChar);
      if (firstBlank && secondBlank && t.firstLine < t.quoteLine && t.swallowingLine == 0)
        add(t.quoteLine, MsgCheckReport::BlanksLine,
            "record follows a line holding only blanks: it " + goesUnder(number, seen));
      else if (firstBlank && secondBlank)
        add(t.quoteLine, MsgCheckReport::TwoBlanks,
            "line starts with two blanks: its record " + goesUnder(number, seen));
      else if (t.firstChar == '\n' && t.endChar == '\n')
        add(t.quoteLine, MsgCheckReport::TwoEmptyLines,
            "record follows two empty lines: it " + goesUnder(number, seen));
      else if (t.firstChar == '\n' && secondBlank)
        add(t.quoteLine, MsgCheckReport::BlankAfterEmptyLine,
            "line starts with a blank after an empty line: its record " + goesUnder(number, seen));
      else if (firstBlank && t.endChar == '\n')
        add(t.quoteLine, MsgCheckReport::OneBlankLine,
            "record follows a line holding only a blank: it " + goesUnder(number, seen));
      else
        add(t.quoteLine, MsgCheckReport::NoNumber,
            "record does not start with a number: it " + goesUnder(number, seen));
    }
  }

  void add(long line, MsgCheckReport report, std::string message) {
    result.findings.push_back({line, report, std::move(message)});
  }

  MsgCheckResult& result;
  std::map<std::int32_t, long> firstLine; // line of the first stored record of each number
};

std::string count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}
} // namespace

MsgCheckResult checkMessages(std::istream& in) {
  MsgCheckResult result;
  Explainer explainer(result);
  KQMessageTable table;
  loadTracedMessages(in, table, explainer);
  explainer.finish();
  return result;
}

void printReport(const std::string& name, const MsgCheckResult& result, std::ostream& out) {
  for (const MsgCheckFinding& f : result.findings)
    out << name << ':' << f.line << ": " << f.message << '\n';
  out << name << ": " << count(result.records, "record", "records") << ", " << result.stored
      << " stored under " << count(result.numbers, "number", "numbers") << ", "
      << count(result.findings.size(), "problem", "problems") << '\n';
}
