// Property checks shared by the fuzz targets and the unit tests. Each runs one input and gives "" when
// every property held, else a description of the first one that failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads `data` as a message file and checks: the table holds exactly the last non-empty text read for
// each number, traced or not; its invariants hold; writing the catalogue back as a clean file and reading
// that gives the same catalogue, in which the checker finds no problem; a stream error at any byte gives the
// same catalogue as a file that ends there.
std::string kqCheckMessageReader(const std::uint8_t* data, std::size_t size);

// Interprets `data` as a table configuration and a sequence of operations, runs them on a KQMessageTable
// and on a std::map side by side, and checks that both agree after every step and that the table's
// invariants hold.
std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size);
