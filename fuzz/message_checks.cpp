// The fuzz properties: the message reader against the records it reports, and the table against std::map.
#include "message_checks.h"

#include "kqmessageloader.h"
#include "memory_input.h"
#include "msgcheck_analysis.h"
#include "msgcheck_trace.h"
#include "reference_reader.h"
#include "table_probe.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

namespace {
using Model = std::map<std::int32_t, std::string>;

// Every record a load reports, and the catalogue it should give: the last non-empty text reported under
// each number.
class ModelRecorder : public KQMessageObserver {
public:
  void record(const KQMessageRecordTrace&, std::int32_t number, std::string_view text) override {
    records.push_back({number, std::string(text)});
    if (!text.empty())
      model[number] = std::string(text);
  }
  std::vector<KQReferenceRecord> records;
  Model model;
};

// "" when the reader reported the records the reference reader reads from the same bytes.
std::string compareWithReference(const char* data, size_t size, const ModelRecorder& recorder) {
  const std::vector<KQReferenceRecord> expected = kqReferenceRecords(data, size);
  const std::vector<KQReferenceRecord>& got = recorder.records;
  for (size_t i = 0; i < expected.size() || i < got.size(); ++i)
    if (i == expected.size() || i == got.size() || !(got[i] == expected[i]))
      return "record " + std::to_string(i) + " differs from the reference reader's (" +
             (i < got.size() ? std::to_string(got[i].number) + " \"" + got[i].text + "\"" : "none") +
             " against " +
             (i < expected.size() ? std::to_string(expected[i].number) + " \"" + expected[i].text + "\""
                                  : "none") +
             ")";
  return kqReferenceCatalogue(expected) == recorder.model
             ? ""
             : "the catalogue differs from the reference reader's";
}

// "" when the table holds exactly the model and its walk visits the buckets in ascending order.
std::string compare(const KQTableProbe& table, const Model& model) {
  if (std::string broken = table.invariants(); !broken.empty())
    return broken;
  Model walked;
  size_t lastBucket = 0;
  for (const auto& [key, value] : kqWalk(table)) {
    if (static_cast<long long>(key) < INT32_MIN || static_cast<long long>(key) > INT32_MAX ||
        table.bucketFor(key) < lastBucket || !walked.emplace(static_cast<std::int32_t>(key), value).second)
      return "walk gave key " + std::to_string(key) + " outside 32 bits, out of bucket order or twice";
    lastBucket = table.bucketFor(key);
  }
  return walked == model && table.getCount() == model.size() ? "" : "walk or count differs from the model";
}

// The catalogue as a clean message file: one record per line, quotes escaped. A stored text never holds
// a backslash, so nothing else needs escaping.
std::string writeClean(const Model& model) {
  std::string file;
  for (const auto& [key, text] : model) {
    file += std::to_string(key) + "\t\"";
    for (char c : text)
      file += c == '"' ? std::string("\\\"") : std::string(1, c);
    file += "\"\n";
  }
  return file;
}

// Loads the bytes traced, recording the model, and untraced (the catalogue's own path) twice: over chunks
// of a few bytes, where records run past chunk ends, and over the input in one chunk, where records are
// read within it. All must stop where the input does, with badbit exactly when an error was injected, and
// hold the model; the traced load must report the records that the reference reader reads from the bytes
// before the error.
std::string load(const char* data, size_t size, size_t failAt, Model& model) {
  KQMemoryInput tracedBuffer(data, size, failAt), smallBuffer(data, size, failAt, 1 + size % 7),
      wholeBuffer(data, size, failAt);
  std::istream traced(&tracedBuffer), small(&smallBuffer), whole(&wholeBuffer);
  ModelRecorder recorder;
  KQTableProbe tracedTable, smallTable, wholeTable;
  loadTracedMessages(traced, tracedTable, recorder);
  loadMessages(small, smallTable);
  loadMessages(whole, wholeTable);
  model = recorder.model;
  if (failAt <= size ? !traced.bad() : !traced.eof() || traced.bad())
    return "the load did not end where the input did";
  if (small.rdstate() != traced.rdstate() || whole.rdstate() != traced.rdstate())
    return "an untraced load ended in another stream state";
  if (std::string r = compareWithReference(data, std::min(size, failAt), recorder); !r.empty())
    return r;
  if (std::string r = compare(tracedTable, model); !r.empty())
    return r;
  if (std::string r = compare(smallTable, model); !r.empty())
    return "the untraced load in small chunks: " + r;
  if (std::string r = compare(wholeTable, model); !r.empty())
    return "the untraced load in one chunk: " + r;
  return "";
}
} // namespace

std::string kqCheckMessageReader(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  Model model, reread, failed, prefix;
  if (std::string r = load(text, size, SIZE_MAX, model); !r.empty())
    return "reading the input: " + r;

  const std::string clean = writeClean(model);
  if (std::string r = load(clean.data(), clean.size(), SIZE_MAX, reread); !r.empty() || reread != model)
    return "reading the clean copy: " + (r.empty() ? "another catalogue" : r);
  std::istringstream cleanIn(clean);
  for (const MsgCheckFinding& f : checkMessages(cleanIn).findings)
    if (f.message.find("NUL") == std::string::npos)
      return "the checker complains about the clean copy: line " + std::to_string(f.line) + ": " + f.message;

  // A read error at byte k (k taken from the input) must leave what a file of the first k bytes gives.
  size_t failAt = 0;
  for (size_t i = 0; i < size; ++i)
    failAt = failAt * 31 + data[i];
  failAt %= size + 1;
  if (std::string r = load(text, size, failAt, failed); !r.empty())
    return "reading with an error at " + std::to_string(failAt) + ": " + r;
  if (std::string r = load(text, failAt, SIZE_MAX, prefix); !r.empty())
    return "reading the first " + std::to_string(failAt) + " bytes: " + r;
  return failed == prefix ? "" : "an error at byte " + std::to_string(failAt) + " differs from an end there";
}

namespace {
// Keys that collide in small tables and sit at the edges of the 32-bit range.
std::int32_t keyFrom(std::uint8_t b) {
  static const std::int32_t edges[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 16, -17,
                                       -34,       170,           340,       1023,           1024,
                                       -1024,     65536,         31 * 31};
  return b < 200 ? static_cast<std::int32_t>(b) - 100 : edges[(b - 200) % std::size(edges)];
}
} // namespace

std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size) {
  size_t steps = 0;
  return kqCheckTableOperations(data, size, steps);
}

std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size, std::size_t& steps) {
  size_t at = 0;
  const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
  KQTableProbe table(1 + next() % 12);
  if (const std::uint8_t b = next(); b != 0)
    table.initHashTable(1 + b % 40, b & 1);
  Model model;
  for (int step = 0; at < size; ++step, ++steps) {
    const std::uint8_t op = next();
    const std::int32_t key = keyFrom(next());
    const bool present = model.count(key) != 0;
    const std::string stored = present ? model[key] : "";
    // Where long is wider, a key and the same key plus or minus 2^32 name one entry.
    const long long shift = (op & 0x40) ? -(1LL << 32) : (1LL << 32);
    const long alias = (op & 0x80) && sizeof(long) > 4 ? static_cast<long>(key + shift) : key;
    const auto fail = [&](const std::string& what) { return "step " + std::to_string(step) + ": " + what; };
    switch (op % 7) {
    case 0: { // operator[]: the stored text (or a new empty one), the same object again, changeable
      KQCString& ref = table[alias];
      if (kqText(ref) != stored || &table[key] != &ref)
        return fail("operator[] gave another text or object");
      ref.append(static_cast<char>('a' + op % 26), 1);
      model[key] = stored + static_cast<char>('a' + op % 26);
      break;
    }
    case 1: { // setAt
      const std::string text(next() % 5, static_cast<char>('A' + op % 26));
      table.setAt(alias, text.c_str());
      model[key] = text;
      break;
    }
    case 2: { // lookup leaves the value alone when the key is absent
      KQCString value;
      value = "untouched";
      if (table.lookup(alias, value) != (present ? 1 : 0) ||
          kqText(value) != (present ? stored : "untouched"))
        return fail("lookup disagrees with the model");
      break;
    }
    case 3:
    case 4: // removeKey, twice as often as the rest so that chains shrink as well as grow
      if (table.removeKey(alias) != static_cast<int>(model.erase(key)))
        return fail("removeKey disagrees with the model");
      break;
    case 5: // removeAll, now and then
      if ((op >> 3) % 4 == 0) {
        table.removeAll();
        model.clear();
        if (table.getStartPosition() != nullptr || table.blockCount() != 0 || table.hasBucketArray())
          return fail("removeAll left something behind");
      }
      break;
    case 6: // initHashTable: on an empty table as intended, and on a full one, where entries must stay
      table.initHashTable(1 + next() % 40, op & 8);
      break;
    }
    if (table.getCount() != model.size() || table.isEmpty() != (model.empty() ? 1 : 0))
      return fail("count disagrees with the model");
    if (step % 16 == 0 || at >= size)
      if (std::string r = compare(table, model); !r.empty())
        return fail(r);
  }
  return "";
}
