// libFuzzer entry point, built once per check: KQ_FUZZ_CHECK names one of message_checks.h's functions.
#include "message_checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = KQ_FUZZ_CHECK(data, size);
  if (!failure.empty()) {
    std::fprintf(stderr, "%s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
