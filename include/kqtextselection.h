// A selection of text in the opt-in text windows (kqwindowsex.h): positions are line indices in the
// window's list (0: the oldest kept line) and byte columns in the line (0 .. its length; a tab is the
// spaces the window stored for it). Platform-free.
#pragma once

// A place between two characters: before column `column` of line `line`.
struct KQTextPosition {
  long long line;
  int column;
};

inline bool operator==(KQTextPosition a, KQTextPosition b) noexcept {
  return a.line == b.line && a.column == b.column;
}
inline bool operator!=(KQTextPosition a, KQTextPosition b) noexcept {
  return !(a == b);
}
inline bool operator<(KQTextPosition a, KQTextPosition b) noexcept {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// The characters between the anchor (where the selection started: a press, or the start of a match)
// and the caret (where it ends: the pointer, or the end of a match), in either order. Empty when both
// are the same place.
struct KQTextSelection {
  KQTextPosition anchor;
  KQTextPosition caret;

  bool empty() const noexcept { return anchor == caret; }
  KQTextPosition begin() const noexcept { return caret < anchor ? caret : anchor; }
  KQTextPosition end() const noexcept { return caret < anchor ? anchor : caret; }
};
