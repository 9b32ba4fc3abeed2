// A stream buffer over bytes in memory. Reading the byte at `failAt` throws, which the reading istream
// turns into badbit (as a failing disk would); each refill exposes at most `step` bytes, so that readers
// taking the buffer a chunk at a time meet a chunk boundary everywhere.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <streambuf>

class KQMemoryInput : public std::streambuf {
public:
  KQMemoryInput(const char* data, std::size_t size, std::size_t failAt = SIZE_MAX,
                std::size_t step = SIZE_MAX)
      : failing(failAt <= size), step(std::max<std::size_t>(step, 1)), begin(const_cast<char*>(data)),
        stop(begin + (failing ? failAt : size)) {
    setg(begin, begin, begin); // a get area only: never written
  }

protected:
  int_type underflow() override {
    if (gptr() == stop) {
      if (failing)
        throw std::runtime_error("read error");
      return traits_type::eof();
    }
    setg(begin, gptr(), gptr() + std::min<std::size_t>(step, static_cast<std::size_t>(stop - gptr())));
    return traits_type::to_int_type(*gptr());
  }

private:
  bool failing;
  std::size_t step;
  char* begin;
  char* stop;
};
