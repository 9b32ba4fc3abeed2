// Win32 only. The clipboard, opened and closed by a guard, and its text block.
#include "clipboard_text.h"

#include <cstring>

namespace {
class OpenClipboardGuard {
public:
  explicit OpenClipboardGuard(HWND owner) noexcept : opened(::OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardGuard() {
    if (opened)
      ::CloseClipboard();
  }
  OpenClipboardGuard(const OpenClipboardGuard&) = delete;
  OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
  bool isOpen() const noexcept { return opened; }

private:
  bool opened;
};

// A movable global block, freed unless handed over (to the clipboard, which then owns it).
class GlobalBlock {
public:
  explicit GlobalBlock(size_t bytes) noexcept : block(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~GlobalBlock() {
    if (block)
      ::GlobalFree(block);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  HGLOBAL get() const noexcept { return block; }
  void release() noexcept { block = nullptr; }

private:
  HGLOBAL block;
};
} // namespace

bool KQSetClipboardText(HWND owner, const std::string& text) noexcept {
  GlobalBlock block(text.size() + 1);
  if (!block.get())
    return false;
  void* bytes = ::GlobalLock(block.get());
  if (!bytes)
    return false;
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  ::GlobalUnlock(block.get());
  OpenClipboardGuard clipboard(owner);
  if (!clipboard.isOpen() || !::EmptyClipboard())
    return false;
  if (!::SetClipboardData(CF_TEXT, block.get()))
    return false;
  block.release(); // the clipboard owns it now
  return true;
}
