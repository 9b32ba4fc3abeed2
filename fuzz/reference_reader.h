// A second reader of message files, written from the format's reading steps alone and kept as plain as
// they are: one byte at a time from memory, sharing nothing with the catalogue's reader. The fuzz check
// holds the catalogue's reader to it, record by record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct KQReferenceRecord {
  std::int32_t number; // 0 when the record's number part converts to nothing
  std::string text;    // empty when the record yields no text
  bool operator==(const KQReferenceRecord& other) const {
    return number == other.number && text == other.text;
  }
};

// Every record that a load of `size` bytes reads, in order, the last one being the read that met the end
// (or, when the input ends inside a record, that record). The bytes are taken as they are: a CR LF pair is
// two characters here, as it is wherever the file stream does not translate line ends.
std::vector<KQReferenceRecord> kqReferenceRecords(const char* data, std::size_t size);

// The catalogue those records give: each non-empty text under its number, a later one replacing an earlier.
std::map<std::int32_t, std::string> kqReferenceCatalogue(const std::vector<KQReferenceRecord>& records);
