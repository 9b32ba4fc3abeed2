// The text-file form of a window's lines.
#include "save_lines.h"

#include <cstring>

void KQSaveLines(const CStringList& lines, std::FILE* out) {
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr;) {
    const CString& line = lines.GetNext(pos);
    const char* text = line.GetString();
    const auto length = static_cast<size_t>(line.GetLength());
    const void* nul = std::memchr(text, '\0', length);
    const size_t shown = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length;
    std::fwrite(text, 1, shown, out);
    std::fputc('\n', out);
    std::fflush(out);
  }
  std::fputc('\n', out);
}
