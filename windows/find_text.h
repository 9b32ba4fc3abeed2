// Finding text in a window's lines, as the find dialog asks: forwards or backwards from a position,
// with or without case, optionally whole words only. Platform-free; the lines are read while their
// owner holds the lock, so the search must be fast: each line is scanned 16 bytes at a time for the
// needle's first two bytes before a candidate is compared.
#pragma once

#include "kqtextselection.h"

#include <afx.h>
#include <afxcoll.h>

struct KQFindOptions {
  bool down;      // towards the last line
  bool matchCase; // otherwise ASCII letters and the Latin-1 letters (0xC0 to 0xDE, 0xE0 to 0xFE) fold
  bool wholeWord; // the match neither starts nor ends inside a run of word characters
};

// Searches `lines` for the `length` bytes at `what` (matches lie within one line). Down: the first match
// that starts at `from` or after it; up: the last match that starts before `from`. True with `match`
// (anchor at the match's start, caret at its end) when one is found; false, `match` unchanged, when
// none is or `length` <= 0. `from` beyond the lines is taken as their end, before them as their start.
bool KQFindText(const CStringList& lines, const char* what, int length, KQTextPosition from,
                const KQFindOptions& options, KQTextSelection& match) noexcept;
