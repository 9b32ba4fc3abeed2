// The reference reader: the reading steps, one after the other, over bytes in memory.
#include "reference_reader.h"

#include <climits>
#include <cstdlib>

namespace {
// The input one byte at a time (0..255, -1 at the end); `ended` is set by the first read that meets the
// end, as a stream's end-of-file state is.
struct Input {
  const unsigned char* at;
  const unsigned char* end;
  bool ended;
  int get() {
    if (at == end) {
      ended = true;
      return -1;
    }
    return *at++;
  }
};

// The number part converted as "%ld" converts it: strtol in the C locale skips white space, takes one sign
// and decimal digits, and converts nothing when no digit follows them (the number then stays as it was).
// A NUL can only be the part's first character, where strtol, like "%ld", converts nothing. Out of the
// 32-bit range the catalogue saturates (its documented choice where the format leaves it open): strtol
// saturates to long, and the clamp finishes the job where long is wider.
void convert(const std::string& part, std::int32_t& number) {
  const char* start = part.c_str();
  char* stop = nullptr;
  const long value = std::strtol(start, &stop, 10);
  if (stop != start)
    number = value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(value);
}

KQReferenceRecord readRecord(Input& in) {
  KQReferenceRecord record{0, ""}; // the load sets the number to 0 before each record
  int c = in.get();
  if (c < 0) // the end before the record's first character: no text
    return record;
  std::string part(1, static_cast<char>(c)); // the first character, whatever it is, and the digits after it
  while ((c = in.get()) >= '0' && c <= '9')
    part += static_cast<char>(c);
  convert(part, record.number);
  while (c != '"') { // skip up to and including the opening quote, starting with the character in hand
    if (c < 0)
      return record;
    c = in.get();
  }
  bool escaped = false;
  while ((c = in.get()) >= 0) { // the end inside the text keeps what was read
    if (c == '\\') {            // never stored; a second one leaves the escape in force
      escaped = true;
      continue;
    }
    if (c == '"' && !escaped) {
      in.get(); // the one character after the closing quote, dropped
      break;
    }
    if (escaped)
      c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    escaped = false;
    record.text += static_cast<char>(c);
  }
  return record;
}
} // namespace

std::vector<KQReferenceRecord> kqReferenceRecords(const char* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  Input in{bytes, bytes + size, false};
  std::vector<KQReferenceRecord> records;
  while (!in.ended) // until the end of the input has been met
    records.push_back(readRecord(in));
  return records;
}

std::map<std::int32_t, std::string> kqReferenceCatalogue(const std::vector<KQReferenceRecord>& records) {
  std::map<std::int32_t, std::string> catalogue;
  for (const KQReferenceRecord& record : records)
    if (!record.text.empty())
      catalogue[record.number] = record.text;
  return catalogue;
}
