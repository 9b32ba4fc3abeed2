// A stream buffer over bytes in memory that can fail hard and can hand out its bytes a few at a time.
// Reading the byte at `failAt` throws, which the istream reading it turns into badbit (a hard error, as a
// failing disk would give). `step` limits how many bytes each refill of the get area exposes, so that
// readers that take the buffer a chunk at a time meet a boundary at every position.
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
      : failing(failAt <= size), step(step == 0 ? 1 : step) {
    begin = const_cast<char*>(data); // a get area only: never written
    stop = begin + (failing ? failAt : size);
    setg(begin, begin, begin);
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
