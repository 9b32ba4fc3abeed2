// A stream buffer over bytes in memory that can fail hard: reading the byte at `failAt` throws, which the
// istream reading it turns into badbit (a hard error, as a failing disk would give).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <streambuf>

class KQMemoryInput : public std::streambuf {
public:
  KQMemoryInput(const char* data, std::size_t size, std::size_t failAt = SIZE_MAX) : failing(failAt <= size) {
    char* begin = const_cast<char*>(data); // a get area only: never written
    setg(begin, begin, begin + (failing ? failAt : size));
  }

protected:
  int_type underflow() override {
    if (failing)
      throw std::runtime_error("read error");
    return traits_type::eof();
  }

private:
  bool failing;
};
