// Property checks shared by the fuzz targets and the unit tests. Each runs one input and gives "" when
// every property held, else a description of the first one that failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads `data` as a message file, traced and untraced, in small chunks and whole, and checks: the traced read
// reports the records the reference reader (message_checks.cpp) reads and every table holds their catalogue;
// a stream error at a byte gives what a file ending there gives; the catalogue written back as a clean file
// reads the same and the checker finds nothing in it.
std::string kqCheckMessageReader(const std::uint8_t* data, std::size_t size);

// Runs a table configuration and operations taken from `data` on a KQMessageTable and a std::map side by
// side, checking that they agree after every step and that the table's invariants hold.
std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size);
