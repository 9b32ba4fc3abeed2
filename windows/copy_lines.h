// Copying a window's lines as text for the clipboard. Platform-free. The rows are copied out of the
// list while its owner holds its lock (KQCopyLines), and formatted after the lock is released
// (KQClipboardText), so that writers wait only for the copy.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <string>
#include <vector>

// Lines copied out of a window's list.
struct KQCopiedLines {
  std::string text;         // the lines' bytes, one after the other
  std::vector<int> lengths; // each line's length
};

// Copies lines [first, end) of `lines` into `out` (replacing what it held), with one allocation for the
// bytes. The range is limited to the list; an empty current line (the list's last element) at the end
// of the range is left out: it is where the next text goes, not text. When no memory can be had the
// allocator's exception passes (std::bad_alloc, or CMemoryException* in a framework module) and `out` is
// then empty.
void KQCopyLines(const CStringList& lines, long long first, long long end, KQCopiedLines& out);

// The clipboard text of copied lines: each line up to its first NUL byte (as SaveAs writes it) followed
// by CR LF. Empty for no lines. When no memory can be had the allocator's exception passes.
std::string KQClipboardText(const KQCopiedLines& copied);
