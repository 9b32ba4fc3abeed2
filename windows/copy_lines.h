// Copying a window's lines out of its list, for painting and for the clipboard. Platform-free. The rows
// are copied while the list's owner holds its lock and used after the lock is released, so that writers
// on other threads wait for the copy only, not for the drawing or the clipboard.
#pragma once

#include "view_math.h"

#include <afx.h>
#include <afxcoll.h>

#include <string>
#include <vector>

// Lines copied out of a window's list.
struct KQCopiedLines {
  long long first = 0;      // index of the first copied line in the list
  std::string text;         // the lines' bytes, one after the other
  std::vector<int> lengths; // each line's length
};

// Copies the lines of `rows` into `out` (replacing what it held), with one allocation for the bytes; the
// range is limited to the list. False, with `out` empty, when no memory could be had (std::bad_alloc, or
// the CMemoryException* that new throws in a framework module): nothing is thrown.
bool KQCopyLines(const CStringList& lines, KQLineRange rows, KQCopiedLines& out) noexcept;

// `rows` without an empty current line (the list's last element) at its end: that line is where the next
// text goes, not text, so copies for the clipboard leave it out.
KQLineRange KQTextRows(const CStringList& lines, KQLineRange rows) noexcept;

// The clipboard text of copied lines: each line up to its first NUL byte (as SaveAs writes it) followed
// by CR LF. Empty for no lines. When no memory can be had the allocator's exception passes.
std::string KQClipboardText(const KQCopiedLines& copied);
