// Message catalogue of kqmfc.dll: a hash table from message number to text (KQMessageTable), the catalogue
// that fills such a table from a message file (KQMessageManager), and the process-wide catalogue
// `theMessage` with its free-function reader KQGetMessage.
//
// Typical use in a host:
//   theMessage.initHashTable(1021, 0);          // optional: more buckets for a large file (see below)
//   if (!theMessage.setFile("messages.txt"))    // 0: the file could not be opened; catalogue now empty
//     ...;
//   AfxMessageBox(KQGetMessage(1042));          // the text, or "*** Message Not Found...\n"
//
// Message numbers are signed 32-bit values. Every operation takes and gives them as `long`, which is 32 bits
// wide on 64-bit Windows. Where `long` is wider (64-bit Linux, where the platform-free code is also built
// and tested), a number passed in is reduced to its low 32 bits, read as signed (the conversion to a 32-bit
// integer): 4294967297 and 1 name the same entry, and a number given out is always in the 32-bit range.
//
// Nothing is locked. A table or catalogue is used by one thread at a time; a host that shares one
// (theMessage in particular) serialises every call, look-ups included, itself.
//
// Tables are not copyable: copying would either share nodes between two owners or copy a whole catalogue
// by accident. Copy entries explicitly with getStartPosition/getNextAssoc and setAt when needed.
#pragma once

#include "kqcstring.h"
#include "kqexport.h"

#include <cstddef>
#include <cstdint>

// A hash map from message number to text, with a fixed number of buckets (17 unless initHashTable says
// otherwise) that never grows by itself: chains grow with count / buckets, so size the table with
// initHashTable before filling it with many entries (a prime a little above the expected count works well).
//
// Entries live in nodes taken from blocks of `blockSize` nodes; a removed entry's node is reused by the
// next insertion (the most recently freed first). Memory is given back only by removeAll and the
// destructor. Allocation failures throw std::bad_alloc out of the inserting call, leaving the table as it
// was; no other exception is thrown.
class KQMFC_API KQMessageTable {
public:
  // An empty table with 17 buckets and the given block size; allocates nothing. A block size of 0 is
  // taken as 1. Usable in constant initialisation, so a static table is ready before any code runs.
  constexpr explicit KQMessageTable(size_t blockSize = 10) noexcept
      : hashTable(nullptr), hashTableSize(17), count(0), freeList(nullptr), blocks(nullptr),
        blockSize(blockSize == 0 ? 1 : blockSize) {}
  // Releases every entry and all memory, as removeAll does.
  ~KQMessageTable();

  KQMessageTable(const KQMessageTable&) = delete;
  KQMessageTable& operator=(const KQMessageTable&) = delete;

  // The text stored under `key`. When the key is absent an entry with an empty text is inserted first
  // (count + 1). The reference stays valid until that entry is removed or the table is cleared or destroyed.
  KQCString& operator[](long key);
  // operator[](key) = text. `text` is NUL-terminated; a null pointer stores the empty text.
  void setAt(long key, const char* text);
  // 1 and a copy of the key's text in `value` when the key is present; 0 and `value` untouched otherwise.
  int lookup(long key, KQCString& value) const;
  // 1 when the key's entry was removed (its node is kept for reuse), 0 when the key was absent.
  int removeKey(long key);
  // Removes every entry and releases the bucket array and all node blocks. The number of buckets and the
  // block size stay as they are.
  void removeAll();

  // Number of entries.
  size_t getCount() const { return count; }
  // 1 when the table holds no entry, else 0.
  int isEmpty() const { return count == 0 ? 1 : 0; }
  // Number of buckets.
  size_t getHashTableSize() const { return hashTableSize; }
  // Sets the number of buckets to `hashSize` (0 is taken as 1). With allocNow non-zero the bucket array is
  // allocated now; with 0 it is allocated at the next insertion. Meant for an empty table (after
  // construction or removeAll); on a table with entries the entries are moved to their new buckets (the
  // array is then allocated whatever allocNow says) so that none is lost.
  void initHashTable(size_t hashSize, int allocNow);

  // Walking the table:
  //   for (void* pos = table.getStartPosition(); pos != nullptr;)
  //     table.getNextAssoc(pos, key, text);
  // visits every entry once: buckets in ascending order, in each bucket the most recent insertion first.
  // The table must not change during a walk. getStartPosition gives null for an empty table, otherwise an
  // opaque before-start value (all bits set). getNextAssoc gives the entry at `position` in key and value and
  // moves `position` on (null after the last entry). A null position, or one from a walk begun before the
  // table was emptied (by removeAll or removeKey) and not refilled since, gives nothing: the position becomes
  // null and key and value stay untouched.
  void* getStartPosition() const;
  void getNextAssoc(void*& position, long& key, KQCString& value) const;

  // Where the head of `key`'s bucket is kept, null while there is no bucket array; valid until the array
  // changes. For prefetching ahead of a run of insertions or look-ups, whose bucket misses then overlap.
  const void* getBucketSlot(long key) const noexcept {
    return hashTable != nullptr ? hashTable + bucketOf(static_cast<std::int32_t>(key)) : nullptr;
  }

protected:
  // One entry. While the node is on the free list `next` links the free list, `key` is 0 and `value` holds
  // no constructed text (the union keeps its construction in the table's hands).
  struct KQTAssoc {
    KQTAssoc() noexcept {}
    ~KQTAssoc() {}
    KQTAssoc* next;
    size_t bucket;
    std::int32_t key;
    union {
      KQCString value;
    };
  };
  // First slot of every node block: the link to the block allocated before it, the number of nodes that
  // follow, and a zero word.
  struct KQTBlock {
    KQTBlock* link;
    size_t nodeCount;
    size_t zero;
  };

  // The key's node or null; `bucket` always receives the key's bucket index. Inline: it is the whole of a
  // look-up.
  KQTAssoc* getAssocAt(long key, size_t& bucket) const {
    const std::int32_t k = static_cast<std::int32_t>(key);
    bucket = bucketOf(k);
    if (hashTable == nullptr)
      return nullptr;
    KQTAssoc* node = hashTable[bucket];
    while (node != nullptr && node->key != k)
      node = node->next;
    return node;
  }
  // A node from the free list (a new block is allocated when it is empty), counted, with key 0 and an
  // empty text; its `next` and `bucket` are for the caller to set before linking it.
  KQTAssoc* newAssoc();
  // Gives a node that the caller has already unlinked back to the free list; releases no memory.
  void freeAssoc(KQTAssoc* node);

  KQTAssoc** hashTable; // bucket heads; null until the first insertion
  size_t hashTableSize;
  size_t count;
  KQTAssoc* freeList;
  KQTBlock* blocks; // most recent block; each links to the one before
  size_t blockSize;

private:
  // The key's 32 bits, unsigned, modulo the number of buckets. A 32-bit division gives the same remainder
  // whenever the number of buckets fits in 32 bits, and costs less than a 64-bit one.
  size_t bucketOf(std::int32_t key) const {
    const std::uint32_t k = static_cast<std::uint32_t>(key);
    return hashTableSize <= UINT32_MAX ? k % static_cast<std::uint32_t>(hashTableSize) : k % hashTableSize;
  }
  KQTAssoc** newBucketArray(size_t size) const;
};

// The catalogue: a KQMessageTable (17 buckets, block size 10) that fills itself from a message file and
// answers look-ups with a NUL-terminated text. Every operation of KQMessageTable works on it too.
//
// Message file: a text file of records, nothing else. A clean record is one line:
//     1042<TAB>"Disk full\n"
// the number at the first column, a separator without double quotes, the text in double quotes, and the line
// end directly after the closing quote. Inside the quotes \n, \r and \t give line feed, carriage return and
// tab, \" a double quote, a backslash before any other character gives that character (there is no escape for
// a backslash), and anything else, line ends included, is taken as it is. A record is read as: its first
// character plus the decimal digits right after it, converted as "%ld" would (so one leading blank or empty
// line, a sign and leading zeros are fine); then everything up to and including the next double quote is
// skipped; then the text; then exactly one character (the line end) is dropped. Consequences worth knowing:
//   - a line starting with two blanks, or a record after two empty lines, is stored under number 0;
//   - a line without a double quote swallows the next record, whose text goes under this line's number;
//   - two or more blanks after a closing quote make the next line's record go under number 0, and so does
//     one blank when the next line starts with a sign;
//   - an empty text ("") is not stored; a later record with the same number replaces the earlier text;
//   - a text left open at the end of the file is stored as far as it goes.
// Numbers beyond the 32-bit range saturate, as strtol does into a 32-bit long: any larger number is read as
// 2147483647, any smaller one as -2147483648, on every platform. tools/msgcheck reports all of the above.
//
// The file is opened in text mode: on Windows a CR LF pair arrives as one LF and a Ctrl-Z byte ends the file;
// elsewhere the bytes arrive as they are.
class KQMFC_API KQMessageManager : public KQMessageTable {
public:
  // An empty catalogue. Constant-initialised for static objects such as theMessage.
  constexpr KQMessageManager() noexcept : KQMessageTable(10) {}
  // Releases every entry (the table's destructor).
  ~KQMessageManager() = default;

  // Empties the catalogue, then fills it with the records of the named file (the name is passed to the
  // file stream unchanged; other processes may read and write the file meanwhile). Gives 1 when the file
  // was opened, also when it held no record; 0 when it could not be opened or not even its first byte could
  // be read (or `fileName` is null), in which case the catalogue stays empty. A read error part-way keeps
  // the records read so far and gives 1.
  // The texts read share blocks of up to 64 KiB (see kqcstringpool.h): one allocation per block rather
  // than per text. A text moved out of the catalogue keeps its block alive until it is destroyed.
  // Throws std::bad_alloc when memory runs out; the entries stored until then stay.
  int setFile(const char* fileName);

  // The text stored under `number`, or the not-found text "*** Message Not Found...\n". A stored text is
  // valid until its entry is replaced or removed, or the catalogue is cleared, reloaded or destroyed (a text
  // with NUL bytes shows up to the first one); the not-found text is always valid. Never release either.
  const char* operator()(long number) const;
};

// The process-wide catalogue: ready (empty) before any code of the host runs, emptied when the library is
// unloaded.
extern KQMFC_API KQMessageManager theMessage;

// theMessage(number).
KQMFC_API const char* KQGetMessage(long number);
