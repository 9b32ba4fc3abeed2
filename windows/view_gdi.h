// Win32 only. The screen side both text windows share: the default font and colour, cell sizes
// measured from a font, drawing a range of lines, moving the view after a scroll request, the scroll
// bars, and the font dialog. Each window keeps its own fields and locking; these work on what they
// are given.
#pragma once

#include "copy_lines.h"
#include "kqtextselection.h"
#include "view_math.h"

#include <afxwin.h>

// The first font and colour of a window: the stock ANSI_FIXED_FONT's description and COLOR_WINDOWTEXT.
void KQDefaultFont(LOGFONTA& font, COLORREF& color);

// Cell sizes of `font` as selected into the window's device context, for lines of lineWidth
// characters. False (and `cells` unchanged) when no device context or font could be had.
bool KQMeasureFont(CWnd& window, const LOGFONTA& font, int lineWidth, KQCellMetrics& cells);

// The font, colours and alignment of the lines selected into a paint DC for the painter's lifetime:
// font from `font` (created here, deleted at the end), text colour `color`, background COLOR_WINDOW
// (the background mode stays opaque: each cell is filled), alignment TA_LEFT | TA_TOP. The characters
// of `selection` are drawn over in COLOR_HIGHLIGHTTEXT on COLOR_HIGHLIGHT, clipped to their extent.
class KQLinePainter {
public:
  KQLinePainter(CDC& dc, const LOGFONTA& font, COLORREF color, const KQTextSelection& selection = {});
  ~KQLinePainter();
  KQLinePainter(const KQLinePainter&) = delete;
  KQLinePainter& operator=(const KQLinePainter&) = delete;

  // Draws the lines of `rows` whole at x, the first at y and each next lineHeight lower. The first line
  // is found from the nearer end of the list (KQLinePosition), the others by walking on from it.
  void draw(const CStringList& lines, KQLineRange rows, int x, int y, int lineHeight);
  // Draws copied lines the same way.
  void draw(const KQCopiedLines& copied, int x, int y, int lineHeight);

private:
  void drawRow(int x, int y, int lineHeight, long long row, const char* text, int length);

  CDC& dc;
  CFont font;
  CFont* previous;
  KQTextSelection selection;
};

// The column of a line's text under pixel `px` (the line drawn from 0): the place between the two
// characters nearest to it, measured in `font` on the window's device context; by `charWidth` per
// character when the font cannot be measured. 0 .. length (at most 256).
int KQColumnAt(CWnd& window, const LOGFONTA& font, int charWidth, const char* text, int length, int px);

// After a scroll request that changed the position by delta units: moves the client area's pixels by
// -delta units of unitPixels (horizontally for SB_HORZ, vertically for SB_VERT), sets the bar to
// newPos with redraw and paints the uncovered band at once.
void KQMoveView(CWnd& window, int bar, int delta, int newPos, int unitPixels);

// Sets a bar's range to 0 .. max without redrawing, then its position with redrawing. A range of
// 0 .. 0 hides the bar. Calls that would change nothing are skipped: none when the bar already has
// that range and position, only the position when it already has that range.
void KQSetScrollBar(CWnd& window, int bar, int max, int pos);
// Sets a bar's position with redrawing, unless it is already there.
void KQSetScrollPos(CWnd& window, int bar, int pos);

// Runs the font dialog (screen fonts, effects, ANSI only, existing fonts only) modally over `parent`,
// starting from `font`. True when the user chose OK: `font` and `color` then hold the choice.
bool KQChooseFont(CWnd* parent, LOGFONTA& font, COLORREF& color);
