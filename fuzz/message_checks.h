// Properties shared by the fuzz targets and the unit tests: "" when all held, else the first that failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The input as a message file, read traced and untraced, chunked and whole, with and without a read error,
// against the reference reader; its catalogue written back cleanly reads the same and passes the checker.
std::string kqCheckMessageReader(const std::uint8_t* data, std::size_t size);

// Table operations taken from the input, on a KQMessageTable and a std::map side by side.
std::string kqCheckTableOperations(const std::uint8_t* data, std::size_t size);
