// The checker's list of reports, in the order the help text gives them.
#include "msgcheck_reports.h"

const MsgCheckReportInfo msgCheckReports[] = {
    {MsgCheckReport::TextAfterQuote,
     "text after the closing double quote swallows the record on line <line>: its text goes under number "
     "<number>[, not <seen>]",
     "characters after a closing quote start the next record, which then takes the text of the line below"},
    {MsgCheckReport::BlanksAfterQuote,
     "blanks after the closing double quote: the record on line <line> goes under number <number>[, not "
     "<seen>]",
     "blanks after a closing quote start the next record, so its number is not converted"},
    {MsgCheckReport::LineWithoutQuote,
     "line without a double quote swallows the record on line <line>: its text goes under number "
     "<number>[, not <seen>]",
     "a line with no quote (a comment, for instance) becomes the number part of the record below it"},
    {MsgCheckReport::TwoBlanks,
     "line starts with two blanks: its record goes under number <number>[, not <seen>]",
     "the number is read after one white-space character only"},
    {MsgCheckReport::TwoEmptyLines,
     "record follows two empty lines: it goes under number <number>[, not <seen>]",
     "the second empty line ends the number part before the number"},
    {MsgCheckReport::BlankAfterEmptyLine,
     "line starts with a blank after an empty line: its record goes under number <number>[, not <seen>]",
     "the empty line's line end and the blank are two white-space characters in a row"},
    {MsgCheckReport::OneBlankLine,
     "record follows a line holding only a blank: it goes under number <number>[, not <seen>]",
     "the blank and the line end of that line are two white-space characters in a row"},
    {MsgCheckReport::BlanksLine,
     "record follows a line holding only blanks: it goes under number <number>[, not <seen>]",
     "a line of several blanks before a record ends its number part before the number"},
    {MsgCheckReport::NoNumber,
     "record does not start with a number: it goes under number <number>[, not <seen>]",
     "a record whose number part holds no number is stored under 0"},
    {MsgCheckReport::NoQuoteAtEnd, "no double quote before the end of the file: nothing is stored",
     "the last record has a number part and no text"},
    {MsgCheckReport::BeyondRange, "number <digits> is beyond the 32-bit range: it goes under number <number>",
     "numbers are limited to the range of a signed 32-bit integer"},
    {MsgCheckReport::Unterminated, "text has no closing double quote: it runs to the end of the file",
     "the rest of the file, line ends included, becomes the text"},
    {MsgCheckReport::DoubleBackslash, "\\\\ stores no backslash: there is no escape for a backslash",
     "a backslash always escapes the character after it, and \\\\ stores that second backslash alone"},
    {MsgCheckReport::BackslashAtLineEnd,
     "backslash at the end of the line stores nothing: the line end stays in the text",
     "a backslash does not join lines"},
    {MsgCheckReport::UnknownEscape, "\\<c> stores \"<c>\" alone: only \\n, \\r, \\t and \\\" are escapes",
     "any other escaped character is stored without its backslash"},
    {MsgCheckReport::NulByte, "text holds a NUL byte: look-ups show it only up to there",
     "the catalogue hands out NUL-terminated texts"},
    {MsgCheckReport::EmptyText, "empty text: nothing is stored",
     "a record with an empty text stores nothing, and a look-up of its number gives the not-found text"},
    {MsgCheckReport::RepeatedNumber,
     "number <number> repeats line <line>: the later text replaces the earlier one",
     "the catalogue keeps one text per number"},
};

const std::size_t msgCheckReportCount = sizeof msgCheckReports / sizeof msgCheckReports[0];

const MsgCheckReportInfo& msgCheckReportInfo(MsgCheckReport report) {
  std::size_t i = 0;
  while (i + 1 < msgCheckReportCount && msgCheckReports[i].report != report)
    ++i;
  return msgCheckReports[i];
}
