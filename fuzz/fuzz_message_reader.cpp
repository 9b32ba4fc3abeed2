// libFuzzer target: the message-file reader (see message_checks.h for what is checked).
#include "message_checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = kqCheckMessageReader(data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "message reader: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
