// Selecting in a window's lines: positions kept within the lines, words, the selected columns of a row
// and the selected text. Platform-free; the lines are read while their owner holds the lock.
#pragma once

#include "copy_lines.h"
#include "kqtextselection.h"

#include <afx.h>
#include <afxcoll.h>

#include <string>

// `at` moved into the lines: the line limited to the list, the column to 0 .. the line's length
// (beyond a line's end is its end).
KQTextPosition KQSnapPosition(const CStringList& lines, KQTextPosition at) noexcept;

// The word around `at` (snapped first): the run of word characters (letters, digits, '_' and bytes from
// 0x80) or of spaces that holds the character after `at` (before it at a line's end); any other
// character alone. Empty at an empty line.
KQTextSelection KQWordAt(const CStringList& lines, KQTextPosition at) noexcept;

// Every kept line: from the first line's start to the end of the last (the current line).
KQTextSelection KQSelectAll(const CStringList& lines) noexcept;

// The columns [first, end) of row `line` (of `length` bytes) inside `selection`; first >= end when none.
struct KQColumnRange {
  int first;
  int end;
};
KQColumnRange KQSelectedColumns(const KQTextSelection& selection, long long line, int length) noexcept;

// The rows a selection touches, for copying them out under the lock.
KQLineRange KQSelectedRows(const KQTextSelection& selection) noexcept;

// The clipboard text of a selection from rows copied out of the list (KQSelectedRows): its characters,
// each line's part up to its first NUL byte, lines joined by CR LF. When no memory can be had the
// allocator's exception passes.
std::string KQSelectedText(const KQCopiedLines& copied, const KQTextSelection& selection);
