// The message reader's input side, and the catalogue's instance of the reader.
#include "kqmessagereader.h"

#include <algorithm>
#include <ios>

template class KQBasicMessageReader<KQNoTrace>;

bool KQMessageInput::refill() {
  using traits = std::istream::traits_type;
  std::streambuf* buffer = in.rdbuf();
  if (ended || buffer == nullptr || !in.good()) {
    ended = true;
    return false;
  }
  std::streamsize n = 0;
  try {
    if (traits::eq_int_type(buffer->sgetc(), traits::eof())) {
      ended = true;
      in.setstate(std::ios::eofbit | std::ios::failbit);
      return false;
    }
    // Only what the buffer holds already, so that no read beyond it can fail half-way through a chunk.
    n = std::min(buffer->in_avail(), chunkSize);
    if (n <= 1) {
      chunk.get()[0] = traits::to_char_type(buffer->sbumpc());
      n = 1;
    } else {
      n = buffer->sgetn(chunk.get(), n);
    }
  } catch (...) {
    ended = true;
    in.setstate(std::ios::badbit);
    return false;
  }
  if (n <= 0) {
    ended = true;
    in.setstate(std::ios::badbit);
    return false;
  }
  pos = chunk.get();
  end = pos + n;
  return true;
}
