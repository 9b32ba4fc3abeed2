// Catalogue load and look-up, against the standard library and glibc's message catalogues.
//
// Load: KQMessageManager::setFile on a generated message file of 100,000 records, in MB/s of file, against
// the loader a host would otherwise write (std::getline, strtol, unescape, std::unordered_map), on that file
// and on an escape-dense one; for information, against reading the same file whole with
// std::ifstream::read and against finding and copying each line in memory; also gencat turning the same
// messages into a binary catalogue (a process of its own) and catopen + catclose of that catalogue.
// Look-up: operator() with the default 17 buckets and after initHashTable with the first prime above the
// record count, against std::unordered_map<long, std::string> holding the same texts and against catgets.
// Every look-up hits a stored number; the numbers come in a fixed random order, the same for all three.
// Each is timed giving only the text's pointer, and again with the first character of each text read.
// The first of a look-up's two dependent reads, the bucket head, is also timed alone: catgets makes one read
// into an array, a chained table two (the bucket head, then the node with the key and the text).
//
// Usage: catalogue_bench [work folder] [--no-catgets]
//   work folder: default the current folder; four files are written there.
//   --no-catgets: leaves gencat and catgets out (building glibc's catalogue takes about 20 minutes).
#include "bench_report.h"
#include "kqmessagereader.h"
#include "kqmessages.h"

#include <malloc.h>
#include <nl_types.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {
constexpr int recordCount = 100'000;

struct Message {
  long number;
  std::string escaped; // as written between the quotes
  std::string text;    // as stored
};

// Plain characters of a text: printable, neither a double quote nor a backslash.
char plainCharacter(kqbench::Random& random) {
  const char ch = static_cast<char>(random.between(32, 126));
  return ch == '"' || ch == '\\' ? ' ' : ch;
}

void addEscape(Message& m, char written, char stored) {
  m.escaped += '\\';
  m.escaped += written;
  m.text += stored;
}

// Texts of 20 to 120 plain characters. As in a hand-kept catalogue, four texts in five end with a line
// feed, one in ten holds a tab and one in ten a quoted word. With `dense`, every character is instead an
// escape with a chance of 3 in 100 (line feed, tab or double quote).
std::vector<Message> makeMessages(bool dense) {
  kqbench::Random random(7);
  std::vector<Message> messages;
  messages.reserve(recordCount);
  for (int i = 0; i < recordCount; ++i) {
    Message m;
    m.number = i + 1; // numbered 1 to 100,000, as catalogues usually are (the file order is shuffled)
    const int length = random.between(20, 120);
    const int tabAt = random.between(0, 9) == 0 ? random.between(0, length - 1) : -1;
    const int quoteAt = random.between(0, 9) == 0 ? random.between(0, length - 6) : -1;
    for (int c = 0; c < length; ++c) {
      const int pick = dense ? random.between(0, 99) : 99;
      if (pick == 0 || c == tabAt)
        addEscape(m, 't', '\t');
      else if (pick == 1 || (quoteAt >= 0 && (c == quoteAt || c == quoteAt + 5)))
        addEscape(m, '"', '"');
      else if (pick == 2)
        addEscape(m, 'n', '\n');
      else {
        const char ch = plainCharacter(random);
        m.escaped += ch;
        m.text += ch;
      }
    }
    if (!dense && random.between(0, 4) != 0)
      addEscape(m, 'n', '\n');
    messages.push_back(std::move(m));
  }
  // Records in a shuffled order, as a hand-kept file would have them.
  for (size_t i = messages.size() - 1; i > 0; --i)
    std::swap(messages[i], messages[random.next() % (i + 1)]);
  return messages;
}

std::string readWhole(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes our message file and gencat's source for the same messages; gencat's source is left alone when
// it already holds the same text, so that a catalogue built from it earlier can be reused.
void writeFiles(const std::vector<Message>& messages, const std::string& ours,
                const std::string& gencatSource) {
  std::ofstream out(ours, std::ios::binary);
  std::ostringstream cat;
  cat << "$quote \"\n$set 1\n";
  for (const Message& m : messages) {
    out << m.number << "\t\"" << m.escaped << "\"\n";
    cat << m.number << " \"" << m.escaped << "\"\n";
  }
  if (readWhole(gencatSource) != cat.str())
    std::ofstream(gencatSource, std::ios::binary) << cat.str();
}

// Runs gencat unless the catalogue is newer than its source. Gives gencat's time in seconds, 0 when the
// catalogue was reused, -1 when gencat failed.
double buildGlibcCatalogue(const std::string& binary, const std::string& source) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(binary, error) && fs::last_write_time(binary, error) >= fs::last_write_time(source, error)) {
    std::printf("# gencat: the binary catalogue from an earlier run is reused (same source)\n");
    return 0;
  }
  const std::string temporary = binary + ".part";
  const std::string command = "gencat '" + temporary + "' '" + source + "'";
  fs::remove(temporary, error);
  int status = 0;
  const double seconds = kqbench::seconds([&] { status = std::system(command.c_str()); });
  if (status != 0) {
    std::printf("# gencat failed (status %d)\n", status);
    return -1;
  }
  fs::rename(temporary, binary, error);
  std::printf("# gencat built the binary catalogue in %.1f s\n", seconds);
  return seconds;
}

long long fileSize(const std::string& name) {
  std::ifstream in(name, std::ios::binary | std::ios::ate);
  return static_cast<long long>(in.tellg());
}

size_t firstPrimeAbove(size_t n) {
  for (size_t candidate = n + 1;; ++candidate) {
    bool prime = candidate > 1;
    for (size_t d = 2; d * d <= candidate && prime; ++d)
      prime = candidate % d != 0;
    if (prime)
      return candidate;
  }
}

// The process keeps the heap pages it has touched: the baseline reads into a buffer touched before, and
// setFile should likewise be timed without the first touch of its memory, which a virtual machine can make
// a hundred times dearer than on hardware (measured and printed apart).
void keepHeapPages() {
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

// Microseconds per first touch of a page, over 16 MiB.
double pageTouchMicroseconds() {
  const size_t size = 16u << 20;
  void* raw = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED)
    return 0;
  char* bytes = static_cast<char*>(raw);
  const long page = sysconf(_SC_PAGESIZE);
  const double s = kqbench::seconds([&] {
    for (size_t i = 0; i < size; i += static_cast<size_t>(page))
      bytes[i] = 1;
  });
  munmap(raw, size);
  return s * 1e6 / static_cast<double>(size / static_cast<size_t>(page));
}

template <class F> double medianSeconds(int reps, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < reps; ++i)
    times.push_back(kqbench::seconds(f));
  return kqbench::median(times);
}

// The loader a host would write in a few lines instead: std::getline for each line, strtol for the number,
// the text between the first double quote after it and the next unescaped one, its escapes replaced, then
// stored in a std::unordered_map sized for the count.
std::unordered_map<long, std::string> loadByHand(const std::string& file) {
  std::unordered_map<long, std::string> messages;
  messages.reserve(recordCount);
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    char* numberEnd = nullptr;
    const long number = std::strtol(line.c_str(), &numberEnd, 10);
    const size_t open = line.find('"', static_cast<size_t>(numberEnd - line.c_str()));
    if (open == std::string::npos)
      continue;
    std::string text;
    for (size_t i = open + 1; i < line.size() && line[i] != '"'; ++i) {
      char ch = line[i];
      if (ch == '\\' && i + 1 < line.size()) {
        ch = line[++i];
        if (ch == 'n')
          ch = '\n';
        else if (ch == 't')
          ch = '\t';
        else if (ch == 'r')
          ch = '\r';
      }
      text += ch;
    }
    if (!text.empty())
      messages[number] = std::move(text);
  }
  return messages;
}

struct LoadTimes {
  double setFile;   // median seconds of setFile into an empty catalogue after initHashTable(prime)
  double byHand;    // median seconds of loadByHand
  bool byHandRight; // every pass of loadByHand stored exactly the expected texts
};

// setFile and the hand-written loader on one file, in alternate passes, so that what else runs on the
// machine meanwhile weighs on both alike. Each pass loads into a new catalogue or map, as a host loads its
// catalogue once; the destruction is not timed, and the small blocks that it freed are merged back into
// the heap (glibc does that at the next large request) before the next pass. The first pass of each
// loader is printed apart: its heap pages are touched for the first time.
LoadTimes loadTimes(const std::string& file, size_t prime, const std::vector<Message>& expected) {
  std::vector<double> ours, byHand;
  bool right = true;
  for (int rep = 0; rep < 9; ++rep) {
    std::free(std::malloc(1 << 20));
    {
      KQMessageManager fresh;
      fresh.initHashTable(prime, 0);
      const double s = kqbench::seconds([&] { fresh.setFile(file.c_str()); });
      if (rep == 0)
        std::printf("# %s: first setFile in this process %.1f ms (its heap pages touched for the first "
                    "time)\n",
                    file.c_str(), s * 1e3);
      else
        ours.push_back(s);
    }
    std::free(std::malloc(1 << 20));
    std::unordered_map<long, std::string> messages;
    const double s = kqbench::seconds([&] { messages = loadByHand(file); });
    if (rep == 0)
      std::printf("# %s: first hand-written load in this process %.1f ms\n", file.c_str(), s * 1e3);
    else
      byHand.push_back(s);
    right = right && messages.size() == expected.size();
    for (const Message& m : expected) {
      const auto found = messages.find(m.number);
      right = right && found != messages.end() && found->second == m.text;
    }
  }
  return LoadTimes{kqbench::median(ours), kqbench::median(byHand), right};
}

// The head of a key's bucket in a table, the first of the two dependent reads that a look-up makes (the
// second is the node, for its key and text). The node type is protected: a derived class names it.
class BucketHead : KQMessageManager {
public:
  static const void* of(const KQMessageManager& table, long key) {
    return *static_cast<KQTAssoc* const*>(table.getBucketSlot(key));
  }
};

// Seconds of one pass of find(number) over the first `count` keys. Every text pointer found is folded into
// a value that is kept, so no look-up can be left out; with `readText` the first character of each text is
// folded in as well, as a caller that uses the text reads it.
template <bool readText, class Find>
double lookupPass(const std::vector<long>& keys, size_t count, Find&& find) {
  std::uintptr_t mix = 0;
  const double s = kqbench::seconds([&] {
    for (size_t i = 0; i < count; ++i) {
      const char* text = find(keys[i]);
      kqbench::keep(text);
      mix ^= reinterpret_cast<std::uintptr_t>(text);
      if constexpr (readText)
        mix += static_cast<unsigned char>(text[0]);
    }
  });
  kqbench::keep(&mix);
  return s;
}
} // namespace

int main(int argc, char** argv) {
  std::string folder;
  bool catgetsToo = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-catgets") == 0)
      catgetsToo = false;
    else
      folder = argv[i] + std::string("/");
  }
  const std::string ours = folder + "catalogue_bench.msg";
  const std::string gencatSource = folder + "catalogue_bench.gencat";
  const std::string binary = folder + "catalogue_bench.cat";

  const std::string denseFile = folder + "catalogue_bench_dense.msg";

  keepHeapPages();
  const std::vector<Message> messages = makeMessages(false);
  writeFiles(messages, ours, gencatSource);
  const std::vector<Message> denseMessages = makeMessages(true);
  std::ofstream dense(denseFile, std::ios::binary);
  for (const Message& m : denseMessages)
    dense << m.number << "\t\"" << m.escaped << "\"\n";
  dense.close();
  const double mb = static_cast<double>(fileSize(ours)) / 1e6;
  const double denseMb = static_cast<double>(fileSize(denseFile)) / 1e6;
  std::printf("# catalogue: %d records, %.2f MB message file (texts of 20-120 characters; 4 in 5 end with "
              "\\n, 1 in 10 hold \\t, 1 in 10 a \\\"quoted\\\" word)\n",
              recordCount, mb);
  std::printf("# escape-dense file: the same count, %.2f MB, 3 in 100 characters escaped\n", denseMb);

  // Load.
  std::printf("# first touch of a heap page: %.2f us on this machine\n", pageTouchMicroseconds());
  std::vector<char> whole(static_cast<size_t>(fileSize(ours)));
  const double readSeconds = medianSeconds(7, [&] {
    std::ifstream in(ours);
    in.read(whole.data(), static_cast<std::streamsize>(whole.size()));
    kqbench::keep(whole.data());
  });
  const size_t prime = firstPrimeAbove(recordCount);
  const LoadTimes ordinaryLoads = loadTimes(ours, prime, messages);
  const LoadTimes denseLoads = loadTimes(denseFile, prime, denseMessages);
  const double sizedSeconds = ordinaryLoads.setFile;
  const double denseSeconds = denseLoads.setFile;
  const double byHandSeconds = ordinaryLoads.byHand;
  const double byHandDenseSeconds = denseLoads.byHand;
  if (!ordinaryLoads.byHandRight || !denseLoads.byHandRight) {
    std::printf("# the hand-written loader stored other texts than the file holds\n");
    return 1;
  }
  KQMessageManager sized;
  sized.initHashTable(prime, 0);
  sized.setFile(ours.c_str());
  const double reloadSeconds = medianSeconds(5, [&] { sized.setFile(ours.c_str()); });
  // Where a load's time goes: the reader alone (records parsed, nothing stored), on a stream buffered as
  // setFile buffers it.
  std::vector<char> streamBuffer(KQMessageInput::chunkSize);
  const double parseSeconds = medianSeconds(7, [&] {
    std::ifstream in;
    in.rdbuf()->pubsetbuf(streamBuffer.data(), KQMessageInput::chunkSize);
    in.open(ours);
    KQMessageReader reader(in);
    std::int32_t number = 0;
    size_t records = 0;
    while (reader.more())
      records += reader.read(number).empty() ? 0 : 1;
    kqbench::keep(&records);
  });
  // What any reader that handles one record at a time pays here: find each line feed of the file in memory
  // with memchr and copy the line with memcpy.
  const double perLineSeconds = medianSeconds(7, [&] {
    const char* p = whole.data();
    const char* const e = p + whole.size();
    std::vector<char> line(256);
    while (const void* feed = std::memchr(p, '\n', static_cast<size_t>(e - p))) {
      const size_t n = static_cast<size_t>(static_cast<const char*>(feed) - p);
      if (n > line.size())
        line.resize(n);
      std::memcpy(line.data(), p, n);
      kqbench::keep(line.data());
      p += n + 1;
    }
  });
  KQMessageManager plain;
  const double plainSeconds = medianSeconds(1, [&] { plain.setFile(ours.c_str()); });
  if (sized.getCount() != static_cast<size_t>(recordCount) || plain.getCount() != sized.getCount()) {
    std::printf("# setFile stored %zu and %zu records, expected %d\n", sized.getCount(), plain.getCount(),
                recordCount);
    return 1;
  }
  for (const Message& m : messages) {
    if (m.text != sized(m.number)) {
      std::printf("# message %ld reads back wrong\n", m.number);
      return 1;
    }
  }

  // glibc's gencat needs minutes for 100,000 messages (its table-size search grows with the square of
  // the count): the binary catalogue is built once per work folder and reused while its source is the same.
  const double gencatSeconds = catgetsToo ? buildGlibcCatalogue(binary, gencatSource) : 0;
  if (gencatSeconds < 0)
    return 1;
  const double binaryMb = catgetsToo ? static_cast<double>(fileSize(binary)) / 1e6 : 0;
  const double catopenSeconds = !catgetsToo ? 0 : medianSeconds(7, [&] {
    nl_catd catalogue = catopen(binary.c_str(), NL_CAT_LOCALE);
    kqbench::keep(catgets(catalogue, 1, static_cast<int>(messages[0].number), nullptr));
    catclose(catalogue);
  });

  kqbench::measure("catalogue.load.setFile_sized", mb / sizedSeconds, "MB/s",
                   "setFile into an empty catalogue after initHashTable(first prime above the count)");
  kqbench::measure("catalogue.load.setFile_dense", denseMb / denseSeconds, "MB/s",
                   "setFile (sized table) on the escape-dense file");
  kqbench::measure("catalogue.load.setFile_reload", mb / reloadSeconds, "MB/s",
                   "setFile again on the full catalogue (frees the earlier entries first)");
  kqbench::measure("catalogue.load.parse_only", mb / parseSeconds, "MB/s",
                   "the file reader alone over the same file: records parsed, nothing stored");
  kqbench::measure("catalogue.load.per_line_floor", mb / perLineSeconds, "MB/s",
                   "memchr for each line feed + memcpy of each line, over the file already in memory");
  kqbench::measure("catalogue.load.setFile_17", mb / plainSeconds, "MB/s",
                   "setFile with the default 17 buckets");
  kqbench::measure("catalogue.load.by_hand", mb / byHandSeconds, "MB/s",
                   "hand-written loader: std::getline, strtol, unescape, std::unordered_map (reserved)");
  kqbench::measure("catalogue.load.by_hand_dense", denseMb / byHandDenseSeconds, "MB/s",
                   "the hand-written loader on the escape-dense file");
  kqbench::measure("catalogue.load.ifstream_read", mb / readSeconds, "MB/s",
                   "open + std::ifstream::read of the whole file");
  if (gencatSeconds > 0)
    kqbench::measure("catalogue.load.gencat", mb / gencatSeconds, "MB/s",
                     "gencat process: the same messages in its own source format to a binary catalogue");
  if (catgetsToo)
    kqbench::measure("catalogue.load.catopen", binaryMb / catopenSeconds, "MB/s",
                     "catopen + first catgets + catclose of the binary catalogue (glibc maps the file)");
  kqbench::ratio("catalogue.load_vs_by_hand", byHandSeconds / sizedSeconds, ">=", 3.0,
                 "setFile (sized table) / hand-written loader, both in MB/s");
  kqbench::ratio("catalogue.load_dense_vs_by_hand", byHandDenseSeconds / denseSeconds, ">=", 3.0,
                 "setFile (sized table) / hand-written loader, both on the escape-dense file, in MB/s");
  kqbench::ratio("catalogue.load_vs_read", readSeconds / sizedSeconds, nullptr, 0,
                 "setFile (sized table) / std::ifstream::read, both in MB/s");
  kqbench::ratio("catalogue.load_per_line_floor", readSeconds / perLineSeconds, nullptr, 0,
                 "memchr + memcpy per line (file in memory) / std::ifstream::read, both in MB/s");
  kqbench::ratio("catalogue.load_dense", readSeconds / denseSeconds * denseMb / mb, nullptr, 0,
                 "setFile (sized table) on the escape-dense file / std::ifstream::read, both in MB/s");
  kqbench::ratio("catalogue.load_17_buckets", readSeconds / plainSeconds, nullptr, 0,
                 "setFile (17 buckets) / std::ifstream::read");
  if (gencatSeconds > 0)
    kqbench::ratio("catalogue.load_vs_gencat", gencatSeconds / sizedSeconds, nullptr, 0,
                   "setFile (sized table) / gencat, both in MB/s of their source");

  // Look-ups.
  kqbench::Random random(99);
  std::vector<long> keys(4'000'000);
  for (long& key : keys)
    key = messages[random.next() % messages.size()].number;
  std::unordered_map<long, std::string> map;
  map.reserve(messages.size());
  for (const Message& m : messages)
    map.emplace(m.number, m.text);
  nl_catd catalogue = catgetsToo ? catopen(binary.c_str(), NL_CAT_LOCALE) : nullptr;
  for (const Message& m : catgetsToo ? messages : std::vector<Message>()) {
    const char* text = catgets(catalogue, 1, static_cast<int>(m.number), nullptr);
    if (text == nullptr || m.text != text) {
      std::printf("# catgets gives a wrong text for message %ld\n", m.number);
      return 1;
    }
  }

  // The catalogue, the map and catgets take turns, pass by pass, over the same keys, so that what else runs
  // on the machine meanwhile weighs on all three alike; medians of the passes.
  const auto ourFind = [&](long k) { return sized(k); };
  const auto mapFind = [&](long k) { return map.find(k)->second.c_str(); };
  const auto catgetsFind = [&](long k) { return catgets(catalogue, 1, static_cast<int>(k), nullptr); };
  const auto headFind = [&](long k) { return static_cast<const char*>(BucketHead::of(sized, k)); };
  std::vector<double> ourTimes, mapTimes, catgetsTimes, ourReadTimes, mapReadTimes, catgetsReadTimes,
      headTimes;
  for (int round = 0; round < 7; ++round) {
    ourTimes.push_back(lookupPass<false>(keys, keys.size(), ourFind));
    headTimes.push_back(lookupPass<false>(keys, keys.size(), headFind));
    mapTimes.push_back(lookupPass<false>(keys, keys.size(), mapFind));
    if (catgetsToo)
      catgetsTimes.push_back(lookupPass<false>(keys, keys.size(), catgetsFind));
    ourReadTimes.push_back(lookupPass<true>(keys, keys.size(), ourFind));
    mapReadTimes.push_back(lookupPass<true>(keys, keys.size(), mapFind));
    if (catgetsToo)
      catgetsReadTimes.push_back(lookupPass<true>(keys, keys.size(), catgetsFind));
  }
  const double lookups = static_cast<double>(keys.size());
  const double sizedRate = lookups / kqbench::median(ourTimes);
  const double mapRate = lookups / kqbench::median(mapTimes);
  const double catgetsRate = lookups / kqbench::median(catgetsTimes);
  const double sizedReadRate = lookups / kqbench::median(ourReadTimes);
  const double mapReadRate = lookups / kqbench::median(mapReadTimes);
  const double catgetsReadRate = lookups / kqbench::median(catgetsReadTimes);
  const double headRate = lookups / kqbench::median(headTimes);
  const size_t plainCount = 20'000;
  const double plainRate =
      static_cast<double>(plainCount) / lookupPass<false>(keys, plainCount, [&](long k) { return plain(k); });
  if (catgetsToo)
    catclose(catalogue);

  kqbench::measure("catalogue.lookup.sized", sizedRate, "lookups/s", "operator() after initHashTable(prime)");
  kqbench::measure("catalogue.lookup.17", plainRate, "lookups/s", "operator() with the default 17 buckets");
  kqbench::measure("catalogue.lookup.unordered_map", mapRate, "lookups/s",
                   "std::unordered_map<long, std::string>::find, same texts");
  if (catgetsToo)
    kqbench::measure("catalogue.lookup.catgets", catgetsRate, "lookups/s",
                     "glibc catgets on the gencat catalogue");
  kqbench::measure("catalogue.lookup.bucket_head_only", headRate, "lookups/s",
                   "the first read of a look-up alone: the key's bucket head, not the node it points to");
  kqbench::measure("catalogue.lookup.sized_text_read", sizedReadRate, "lookups/s",
                   "operator() after initHashTable(prime), first character of each text read");
  kqbench::measure("catalogue.lookup.unordered_map_text_read", mapReadRate, "lookups/s",
                   "std::unordered_map::find, first character of each text read");
  if (catgetsToo)
    kqbench::measure("catalogue.lookup.catgets_text_read", catgetsReadRate, "lookups/s",
                     "catgets, first character of each text read");
  kqbench::ratio("catalogue.lookup", mapRate / sizedRate, "<=", 2.0,
                 "time per look-up: sized table / unordered_map");
  kqbench::ratio("catalogue.lookup_17_buckets", mapRate / plainRate, nullptr, 0,
                 "time per look-up: 17 buckets / unordered_map");
  if (catgetsToo) {
    kqbench::ratio("catalogue.lookup_vs_catgets", catgetsRate / sizedRate, "<=", 1.2,
                   "time per look-up: sized table / catgets");
    kqbench::ratio("catalogue.lookup_bucket_head_vs_catgets", catgetsRate / headRate, nullptr, 0,
                   "time per look-up: the bucket head read alone / catgets");
  }
  kqbench::ratio("catalogue.lookup_vs_bucket_head", headRate / sizedRate, nullptr, 0,
                 "time per look-up: sized table / its bucket head read alone");
  if (catgetsToo)
    kqbench::ratio("catalogue.lookup_vs_catgets_text_read", catgetsReadRate / sizedReadRate, nullptr, 0,
                   "time per look-up and first character read: sized table / catgets");
  kqbench::ratio("catalogue.lookup_text_read", mapReadRate / sizedReadRate, nullptr, 0,
                 "time per look-up and first character read: sized table / unordered_map");
  return 0;
}
