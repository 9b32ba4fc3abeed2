// The fuzz properties: the message reader against a model of its stores, and the table against std::map.
#include "message_checks.h"

#include "kqmessagereader.h"
#include "kqmessages.h"
#include "memory_input.h"
#include "msgcheck_analysis.h"
#include "table_probe.h"

#include <climits>
#include <cstdint>
#include <istream>
#include <map>
#include <string>

namespace {
using Model = std::map<std::int32_t, std::string>;

std::string bytes(const KQCString& s) {
  return std::string(s.data(), static_cast<size_t>(s.length()));
}

// Keeps what loadMessages stored, record by record, as the model of the catalogue.
class ModelRecorder : public KQMessageObserver {
public:
  void record(const KQMessageRecordTrace& trace, std::int32_t number, const std::string& text) override {
    if (trace.end == KQMessageRecordTrace::End::NoText && !text.empty())
      problem = "a record without text gave text";
    if (afterOpenText && trace.consumed)
      problem = "a record was read after a text that ran to the end";
    if (trace.end == KQMessageRecordTrace::End::Unterminated)
      afterOpenText = true;
    if (!text.empty())
      model[number] = text;
  }
  Model model;
  std::string problem;

private:
  bool afterOpenText = false;
};

// "" when the table holds exactly the model, walked in bucket order.
std::string compare(const KQTableProbe& table, const Model& model) {
  if (std::string broken = table.invariants(); !broken.empty())
    return broken;
  if (table.getCount() != model.size())
    return "count " + std::to_string(table.getCount()) + ", expected " + std::to_string(model.size());
  Model walked;
  size_t lastBucket = 0;
  for (void* pos = table.getStartPosition(); pos != nullptr;) {
    long key = 0;
    KQCString value;
    table.getNextAssoc(pos, key, value);
    if (static_cast<long long>(key) < INT32_MIN || static_cast<long long>(key) > INT32_MAX)
      return "walk gave a key outside 32 bits";
    const size_t bucket = table.bucketFor(key);
    if (bucket < lastBucket)
      return "walk went back to an earlier bucket";
    lastBucket = bucket;
    if (!walked.emplace(static_cast<std::int32_t>(key), bytes(value)).second)
      return "walk gave key " + std::to_string(key) + " twice";
  }
  if (walked != model)
    return "walk differs from the model";
  for (const auto& [key, text] : model) {
    KQCString value;
    if (table.lookup(key, value) != 1 || bytes(value) != text)
      return "lookup of " + std::to_string(key) + " differs from the model";
  }
  return "";
}

// The catalogue as a clean message file: one record per line, quotes escaped. A stored text never holds
// a backslash, so nothing else needs escaping.
std::string writeClean(const Model& model) {
  std::string file;
  for (const auto& [key, text] : model) {
    file += std::to_string(key) + "\t\"";
    for (char c : text) {
      if (c == '"')
        file += '\\';
      file += c;
    }
    file += "\"\n";
  }
  return file;
}

std::string load(const char* data, size_t size, size_t failAt, KQTableProbe& table, Model* model = nullptr) {
  KQMemoryInput buffer(data, size, failAt);
  std::istream in(&buffer);
  ModelRecorder recorder;
  loadMessages(in, table, &recorder);
  if (!recorder.problem.empty())
    return recorder.problem;
  if (failAt <= size ? !in.bad() : !in.eof() || in.bad())
    return "the load did not end where the input did";
  if (model != nullptr)
    *model = recorder.model;
  if (std::string r = compare(table, recorder.model); !r.empty())
    return r;
  // The catalogue's own load follows nothing and takes plain characters in bulk: it must store the same.
  KQMemoryInput plainBuffer(data, size, failAt, 1 + size % 7); // chunk boundaries everywhere
  std::istream plainIn(&plainBuffer);
  KQTableProbe plain;
  loadMessages(plainIn, plain);
  if (plainIn.rdstate() != in.rdstate())
    return "the untraced load ended in another stream state";
  if (std::string r = compare(plain, recorder.model); !r.empty())
    return "the untraced load: " + r;
  return "";
}
} // namespace

std::string kqCheckMessageReader(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  KQTableProbe table;
  Model model;
  if (std::string r = load(text, size, SIZE_MAX, table, &model); !r.empty())
    return "reading the input: " + r;

  const std::string clean = writeClean(model);
  KQTableProbe again;
  Model reread;
  if (std::string r = load(clean.data(), clean.size(), SIZE_MAX, again, &reread); !r.empty())
    return "reading the clean copy: " + r;
  if (reread != model)
    return "the clean copy reads back differently";
  KQMemoryInput cleanBuffer(clean.data(), clean.size());
  std::istream cleanIn(&cleanBuffer);
  for (const MsgCheckFinding& f : checkMessages(cleanIn).findings)
    if (f.message.find("NUL") == std::string::npos)
      return "the checker complains about the clean copy: line " + std::to_string(f.line) + ": " + f.message;

  // A read error at byte k must leave what a file of the first k bytes gives.
  size_t failAt = 0;
  for (size_t i = 0; i < size; ++i)
    failAt = failAt * 31 + data[i];
  failAt %= size + 1;
  KQTableProbe failed, prefix;
  Model failedModel, prefixModel;
  if (std::string r = load(text, size, failAt, failed, &failedModel); !r.empty())
    return "reading with an error at " + std::to_string(failAt) + ": " + r;
  if (std::string r = load(text, failAt, SIZE_MAX, prefix, &prefixModel); !r.empty())
    return "reading the first " + std::to_string(failAt) + " bytes: " + r;
  if (failedModel != prefixModel)
    return "an error at byte " + std::to_string(failAt) + " differs from an end there";
  return "";
}

namespace {
// Keys that collide in small tables and sit at the edges of the 32-bit range.
std::int32_t keyFrom(std::uint8_t b) {
  static const std::int32_t edges[] = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 16, -17,
                                       -34,       170,           340,       1023,           1024,
                                       -1024,     65536,         31 * 31};
  if (b < 200)
    return static_cast<std::int32_t>(b) - 100;
  return edges[(b - 200) % (sizeof(edges) / sizeof(edges[0]))];
}

class Bytes {
public:
  Bytes(const std::uint8_t* data, size_t size) : data(data), size(size) {}
  bool empty() const { return at >= size; }
  std::uint8_t next() { return at < size ? data[at++] : 0; }

private:
  const std::uint8_t* data;
  size_t size;
  size_t at = 0;
};
} // namespace

std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  KQTableProbe table(1 + in.next() % 12);
  if (const std::uint8_t b = in.next(); b != 0)
    table.initHashTable(1 + b % 40, b & 1);
  Model model;
  for (int step = 0; !in.empty(); ++step) {
    const std::uint8_t op = in.next();
    const std::int32_t key = keyFrom(in.next());
    // Where long is wider, a key and the same key plus 2^32 name one entry.
    const long long shift = (op & 0x40) ? -(1LL << 32) : (1LL << 32);
    const long alias = (op & 0x80) && sizeof(long) > 4 ? static_cast<long>(key + shift) : key;
    const std::string where = "step " + std::to_string(step) + " (op " + std::to_string(op % 8) + ", key " +
                              std::to_string(key) + "): ";
    switch (op % 8) {
    case 0: { // operator[]: the same object on a second call; appending reaches the stored text
      KQCString& ref = table[alias];
      const auto found = model.find(key);
      if (bytes(ref) != (found != model.end() ? found->second : std::string()))
        return where + "operator[] gave another text";
      if (&table[key] != &ref)
        return where + "operator[] gave another object the second time";
      const char c = static_cast<char>('a' + op % 26);
      ref.append(c, 1);
      model[key] += c;
      break;
    }
    case 1: { // setAt
      const std::string text(in.next() % 5, static_cast<char>('A' + op % 26));
      table.setAt(alias, text.c_str());
      model[key] = text;
      break;
    }
    case 2: { // lookup leaves the value alone when the key is absent
      KQCString value;
      value = "untouched";
      const int r = table.lookup(alias, value);
      const auto found = model.find(key);
      if (r != (found != model.end() ? 1 : 0) ||
          bytes(value) != (found != model.end() ? found->second : std::string("untouched")))
        return where + "lookup disagrees with the model";
      break;
    }
    case 3:
    case 4: // removeKey, twice as often as the rest so chains shrink as well as grow
      if (table.removeKey(alias) != static_cast<int>(model.erase(key)))
        return where + "removeKey disagrees with the model";
      break;
    case 5: // removeAll, now and then
      if ((op >> 3) % 4 == 0) {
        table.removeAll();
        model.clear();
        if (table.getStartPosition() != nullptr || table.blockCount() != 0 || table.hasBucketArray())
          return where + "removeAll left something behind";
      }
      break;
    case 6: // initHashTable: on an empty table as intended, and on a full one, where entries must stay
      table.initHashTable(1 + in.next() % 40, op & 8);
      break;
    case 7: // the bucket index of any key, with or without a bucket array
      if (table.bucketFor(alias) != static_cast<std::uint32_t>(key) % table.getHashTableSize())
        return where + "wrong bucket";
      break;
    }
    if (table.getCount() != model.size() || table.isEmpty() != (model.empty() ? 1 : 0))
      return where + "count disagrees with the model";
    if (step % 16 == 0 || in.empty())
      if (std::string r = compare(table, model); !r.empty())
        return where + r;
  }
  return "";
}
