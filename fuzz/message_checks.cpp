// The fuzz properties: the message reader against the reference reader, and the table against std::map.
#include "message_checks.h"

#include "kqmessageloader.h"
#include "msgcheck_analysis.h"
#include "msgcheck_trace.h"
#include "table_probe.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <vector>

namespace {
using Model = std::map<std::int32_t, std::string>;

// The reference reader: the format's reading steps, byte by byte, sharing nothing with the catalogue's.
struct Record {
  std::int32_t number;
  std::string text;
  bool operator==(const Record&) const = default;
};

// As "%ld" converts: nothing converted leaves the number; beyond 32 bits it saturates, as strtol does.
void convert(const std::string& part, std::int32_t& number) {
  const char* start = part.c_str();
  char* stop = nullptr;
  const long value = std::strtol(start, &stop, 10);
  if (stop != start)
    number = value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(value);
}

// `get` gives the next byte (0..255), or -1 at the end.
template <class Get> Record readRecord(Get& get) {
  Record record{0, ""};
  int c = get();
  if (c < 0)
    return record;
  std::string part(1, static_cast<char>(c)); // the first character, whatever it is, then digits
  while ((c = get()) >= '0' && c <= '9')
    part += static_cast<char>(c);
  convert(part, record.number);
  while (c != '"') {
    if (c < 0)
      return record;
    c = get();
  }
  bool escaped = false;
  while ((c = get()) >= 0) {
    if (c == '\\') { // never stored; a second one leaves the escape in force
      escaped = true;
      continue;
    }
    if (c == '"' && !escaped) {
      get(); // the character after the closing quote is dropped
      break;
    }
    if (escaped)
      c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    escaped = false;
    record.text += static_cast<char>(c);
  }
  return record;
}
// Every record a load reads, the last being the read that met the end. CR LF is two characters here.
std::vector<Record> referenceRecords(const char* data, std::size_t size) {
  std::size_t at = 0;
  bool ended = false; // as a stream's end-of-file state
  const auto get = [&]() -> int {
    ended = ended || at == size;
    return at < size ? static_cast<unsigned char>(data[at++]) : -1;
  };
  std::vector<Record> records;
  while (!ended)
    records.push_back(readRecord(get));
  return records;
}

// Keys that collide in small tables and sit at the edges of the 32-bit range.
std::int32_t keyFrom(std::uint8_t b) {
  static const std::int32_t edges[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 16, -17,
                                       -34,       170,           340,       1023,           1024,
                                       -1024,     65536,         31 * 31};
  return b < 200 ? static_cast<std::int32_t>(b) - 100 : edges[(b - 200) % std::size(edges)];
}

// Bytes in memory; reading the byte at `failAt` throws (badbit, as a failing disk); each refill exposes at
// most `step` bytes, so that chunked readers meet a boundary everywhere.
struct MemoryInput : std::streambuf {
  MemoryInput(const char* data, size_t size, size_t failAt, size_t step = SIZE_MAX)
      : stop(const_cast<char*>(data) + std::min(size, failAt)), failing(failAt <= size), step(step) {
    setg(const_cast<char*>(data), const_cast<char*>(data), const_cast<char*>(data)); // never written
  }
  int_type underflow() override {
    if (gptr() == stop && failing)
      throw std::runtime_error("read error");
    if (gptr() == stop)
      return traits_type::eof();
    setg(eback(), gptr(), gptr() + std::min(step, static_cast<size_t>(stop - gptr())));
    return traits_type::to_int_type(*gptr());
  }
  char* stop;
  bool failing;
  size_t step;
};

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
  const bool countRight = table.getCount() == model.size() && table.isEmpty() == (model.empty() ? 1 : 0);
  return walked == model && countRight ? "" : "walk or count differs from the model";
}

// One record per line, quotes escaped (a stored text never holds a backslash).
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

// Loads traced, and untraced over small chunks and in one: all must stop where the input does (badbit
// exactly when an error was injected), report the reference reader's records and hold their catalogue.
std::string load(const char* data, size_t size, size_t failAt, Model& model) {
  MemoryInput tracedBuffer(data, size, failAt), smallBuffer(data, size, failAt, 1 + size % 7),
      wholeBuffer(data, size, failAt);
  std::istream traced(&tracedBuffer), small(&smallBuffer), whole(&wholeBuffer);
  KQTableProbe tables[3];
  KQTracedMessageReader tracedReader(traced);
  std::vector<Record> records;
  kqLoadRecords(tracedReader, tables[0], [&](std::int32_t number, std::string_view text) {
    records.push_back({number, std::string(text)});
  });
  loadMessages(small, tables[1]);
  loadMessages(whole, tables[2]);
  if (failAt <= size ? !traced.bad() : !traced.eof() || traced.bad())
    return "the load did not end where the input did";
  if (small.rdstate() != traced.rdstate() || whole.rdstate() != traced.rdstate())
    return "an untraced load ended in another stream state";
  if (records != referenceRecords(data, std::min(size, failAt)))
    return "the records differ from the reference reader's";
  model.clear();
  for (const Record& record : records) // the last non-empty text of a number is kept
    if (!record.text.empty())
      model[record.number] = record.text;
  for (const KQTableProbe& table : tables)
    if (std::string r = compare(table, model); !r.empty())
      return "load " + std::to_string(&table - tables) + ": " + r;
  return "";
}
} // namespace

std::string kqCheckMessageReader(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  Model model, reread, failed;
  if (std::string r = load(text, size, SIZE_MAX, model); !r.empty())
    return "reading the input: " + r;
  // A read error at byte k gives what a file of the first k bytes gives.
  size_t failAt = 0;
  for (size_t i = 0; i < size; ++i)
    failAt = failAt * 31 + data[i];
  failAt %= size + 1;
  if (std::string r = load(text, size, failAt, failed); !r.empty())
    return "reading with an error at " + std::to_string(failAt) + ": " + r;

  const std::string clean = writeClean(model);
  if (std::string r = load(clean.data(), clean.size(), SIZE_MAX, reread); !r.empty() || reread != model)
    return "reading the clean copy: " + (r.empty() ? "another catalogue" : r);
  std::istringstream cleanIn(clean);
  for (const MsgCheckFinding& f : checkMessages(cleanIn).findings)
    if (f.message.find("NUL") == std::string::npos)
      return "the checker complains about the clean copy: line " + std::to_string(f.line) + ": " + f.message;
  return "";
}

std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size) {
  size_t at = 0;
  const auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
  KQTableProbe table(1 + next() % 12);
  if (const std::uint8_t b = next(); b != 0)
    table.initHashTable(1 + b % 40, b & 1);
  Model model;
  for (int step = 0; at < size; ++step) {
    const std::uint8_t op = next();
    const std::int32_t key = keyFrom(next());
    const bool present = model.count(key) != 0;
    const std::string stored = present ? model[key] : "";
    // Where long is wider, key +- 2^32 names the same entry.
    const long long shift = (op & 0x40) ? -(1LL << 32) : (1LL << 32);
    const long alias = (op & 0x80) && sizeof(long) > 4 ? static_cast<long>(key + shift) : key;
    const void* freeHead = table.freeHead();
    const size_t buckets = table.getHashTableSize();
    void* walk = table.getStartPosition(); // begun before the step; one entry in when bit 5 is set
    long walkKey = 0;
    KQCString walkText;
    if ((op & 0x20) && walk != nullptr)
      table.getNextAssoc(walk, walkKey, walkText);
    std::string wrong;
    switch (op % 7) {
    case 0: { // operator[]: the stored text (or a new empty one), the same object again, changeable
      KQCString& ref = table[alias];
      if (kqText(ref) != stored || &table[key] != &ref)
        wrong = "operator[] gave another text or object";
      ref.append(static_cast<char>('a' + op % 26), 1);
      model[key] = stored + static_cast<char>('a' + op % 26);
      break;
    }
    case 1: // setAt
      model[key] = std::string(next() % 5, static_cast<char>('A' + op % 26));
      table.setAt(alias, model[key].c_str());
      break;
    case 2: { // lookup leaves the value alone when the key is absent
      KQCString value;
      value = "untouched";
      if (table.lookup(alias, value) != (present ? 1 : 0) ||
          kqText(value) != (present ? stored : "untouched"))
        wrong = "lookup disagrees with the model";
      break;
    }
    case 3:
    case 4: // removeKey, twice as often as the rest so that chains shrink as well as grow
      if (table.removeKey(alias) != static_cast<int>(model.erase(key)))
        wrong = "removeKey disagrees with the model";
      break;
    case 5: // removeAll, now and then: all memory released, the bucket count kept
      if ((op >> 3) % 4 == 0) {
        table.removeAll();
        model.clear();
        if (table.getStartPosition() != nullptr || table.blockCount() != 0 || table.hasBucketArray() ||
            table.getHashTableSize() != buckets)
          wrong = "removeAll left something behind or changed the bucket count";
      }
      break;
    case 6: { // initHashTable (0 taken as 1), on an empty table or on a full one (entries stay)
      const size_t count = next() % 41;
      table.initHashTable(count, op & 8);
      if (table.getHashTableSize() != std::max<size_t>(count, 1) ||
          (model.empty() && table.hasBucketArray() != ((op & 8) != 0)))
        wrong = "initHashTable set another bucket count, or allocated the array or not against its word";
      break;
    }
    }
    // A null position, and one from a walk begun before the table was emptied, give nothing.
    if (walk == nullptr || model.empty()) {
      walkKey = 99;
      walkText = "kept";
      table.getNextAssoc(walk, walkKey, walkText);
      if (walk != nullptr || walkKey != 99 || kqText(walkText) != "kept")
        wrong = "a walk went on from a null position or an emptied table";
    }
    // A new entry takes the node freed last, else the first slot of a block allocated for it.
    if (!present && op % 7 < 2 &&
        table.nodeFor(key) != (freeHead ? freeHead : table.firstSlotOfNewestBlock()))
      wrong = "a new entry took another node";
    if (wrong.empty() && (step % 16 == 0 || at >= size))
      wrong = compare(table, model);
    if (!wrong.empty())
      return "step " + std::to_string(step) + ": " + wrong;
  }
  return "";
}
