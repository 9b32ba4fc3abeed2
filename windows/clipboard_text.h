// Win32 only. Putting text on the clipboard.
#pragma once

#include <afxwin.h>

#include <string>

// Replaces the clipboard's contents with `text` as CF_TEXT (a NUL is added; `text` should hold none),
// the clipboard owned by `owner`. False, with the clipboard as it was when it could not be opened and
// otherwise empty, when the clipboard could not be opened or no global memory could be had.
bool KQSetClipboardText(HWND owner, const std::string& text) noexcept;
