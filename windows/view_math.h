// The view arithmetic both text windows share: cell sizes from font metrics, scroll ranges, page sizes
// and the rows a paint must draw. Plain integers only, no window: every function is pure.
// All divisions truncate toward zero. A divisor (character width, line height) that is not positive,
// which no font selected into a device context gives, yields empty ranges, pages of 1 and no rows.
#pragma once

// Character-cell sizes of a font, in pixels.
struct KQCellMetrics {
  int charWidth;  // average character width: the horizontal scroll unit
  int capsWidth;  // width of a capital letter
  int lineHeight; // height of a line: the vertical scroll unit
  int textWidth;  // width taken for a whole line: (lineWidth + 1) * capsWidth
};

// Cell sizes from a font's text metrics (TEXTMETRIC's tmAveCharWidth, tmHeight, tmExternalLeading and
// tmPitchAndFamily). Bit 0 of pitchAndFamily is set for variable-pitch fonts, whose capitals are taken
// as one and a half average characters wide (truncated).
KQCellMetrics KQCellMetricsFromText(int aveCharWidth, int height, int externalLeading,
                                    unsigned int pitchAndFamily, int lineWidth) noexcept;

// Upper end of the vertical range: the lines that do not fit in whole below the first, never below 0.
int KQVScrollMax(long long lineCount, int clientHeight, int lineHeight) noexcept;
// Upper end of the horizontal range, in columns: (textWidth - clientWidth) / charWidth, never below 0.
int KQHScrollMax(int textWidth, int clientWidth, int charWidth) noexcept;

// A vertical page: the whole lines that fit, at least 1.
int KQVPageSize(int clientHeight, int lineHeight) noexcept;
// A horizontal page: an eighth of the whole columns that fit, at least 1.
int KQHPageSize(int clientWidth, int charWidth) noexcept;

// A range of line indices, [first, end): empty when end <= first.
struct KQLineRange {
  long long first;
  long long end;
};

// The rows a paint draws for an update band [updateTop, updateBottom] in client pixels: from the row
// above the one holding updateTop to the row holding updateBottom, within the stored lines. Row `first`
// goes at client y (first - vScrollPos) * lineHeight, each following one lineHeight lower.
KQLineRange KQRowsToPaint(int vScrollPos, int updateTop, int updateBottom, int lineHeight,
                          long long lineCount) noexcept;

// The lines a view shows, for copying its page: from the top line vScrollPos down to the last line that
// is at least partly visible in a client area clientHeight pixels high, within the stored lines.
// Empty when nothing shows (no height, or no line height).
KQLineRange KQRowsOnPage(int vScrollPos, int clientHeight, int lineHeight, long long lineCount) noexcept;
