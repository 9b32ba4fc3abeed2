// The line rules both text windows share, applied to a window's own list of lines.
// Platform-free: needs only the framework's CString and CStringList.
#pragma once

#include <afx.h>
#include <afxcoll.h>

// A view over a window's line list (not an owner): the list, the width at which a line is completed and
// the cap on the number of elements. The list's last element is the current line, which text is
// appended to; every other element is a completed line.
//
// Rules: a tab writes one space and then spaces up to the next multiple of 8 (what would pass the width
// is dropped); a line feed completes the line; a carriage return is dropped; every other byte (NUL and
// other control bytes included) is stored as it is; a line that reaches the width is completed. Adding
// a line that brings the count to the cap drops the oldest line, so the list holds at most cap - 1
// elements.
//
// Exceptions: only the allocator's. When one leaves append or lineFeed, every line stored before it
// stays stored and the list keeps its current line (see append for the one byte that may be lost).
class KQLineStore {
public:
  static constexpr int tabStop = 8;

  // lines: not empty. lineWidth >= 1, maxLines >= 2 (asserted).
  KQLineStore(CStringList& lines, int lineWidth, long long maxLines) noexcept;
  KQLineStore(const KQLineStore&) = delete;
  KQLineStore& operator=(const KQLineStore&) = delete;

  // Appends the len bytes at text by the rules above; nothing when len <= 0. text need not be
  // NUL-terminated and is not read past len. The current line is opened once at the full width and its
  // length set when it is completed or the call ends: no allocation per character, and none at all
  // once the list is full (the dropped line's storage becomes the new current line's).
  // If the allocator throws while a line is being completed, the bytes before the failing one are
  // stored (a line feed that failed to complete its line is lost), and a current line left at the full
  // width is completed by the next call that brings a byte.
  void append(const char* text, int len);

  // Appends an empty current line, then scrollOffTop.
  void lineFeed();
  // Drops the oldest line when the list holds maxLines or more elements (at most one line per call).
  void scrollOffTop() noexcept;
  // Leaves exactly one empty current line and frees every line's characters. Cannot fail: the list's
  // own node blocks are kept for the lines to come.
  void clear() noexcept;

private:
  class OpenLine;
  void complete(OpenLine& line);
  // Drops the oldest line when the cap is reached; `reuse` takes its storage, emptied.
  bool dropOldest(CString& reuse) noexcept;

  CStringList& lines;
  const int lineWidth;
  const long long maxLines;
};
