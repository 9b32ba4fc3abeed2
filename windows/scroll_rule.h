// The scroll rule both text windows share: a scroll-bar request turned into a change of position.
// Platform-free: the request codes are the platform's SB_* values, restated here as plain numbers.
#pragma once

// Scroll-bar request codes (the values of the platform's SB_* constants).
enum : unsigned int {
  KQ_SB_LINEUP = 0,        // also SB_LINELEFT
  KQ_SB_LINEDOWN = 1,      // also SB_LINERIGHT
  KQ_SB_PAGEUP = 2,        // also SB_PAGELEFT
  KQ_SB_PAGEDOWN = 3,      // also SB_PAGERIGHT
  KQ_SB_THUMBPOSITION = 4, // the thumb was released at thumbPos
  KQ_SB_THUMBTRACK = 5,    // the thumb is being dragged
  KQ_SB_TOP = 6,           // also SB_LEFT
  KQ_SB_BOTTOM = 7,        // also SB_RIGHT
  KQ_SB_ENDSCROLL = 8,
};

// The number of units to add to currentPos for the request `scrollCode` on a bar whose range is
// 0 .. maxPos. lineStep and pageStep are the units of a line and a page request; thumbPos is read only
// for KQ_SB_THUMBPOSITION (taken bit for bit as a signed value).
// - Thumb tracking (the drag moves nothing until the thumb is released), end of scroll and every unknown
//   code give 0, wherever currentPos is.
// - Every other request gives max(-currentPos, min(raw, maxPos - currentPos)), raw being -lineStep,
//   +lineStep, -pageStep, +pageStep, thumbPos - currentPos, -currentPos or maxPos - currentPos: from a
//   position inside the range it lands inside the range, from one above it comes back to maxPos, and
//   when maxPos < 0 the lower bound wins (-currentPos).
// All arithmetic wraps as 32-bit two's complement; no input is rejected.
int KQComputeScrollPosDelta(unsigned int scrollCode, unsigned int thumbPos, int currentPos, int maxPos,
                            int lineStep, int pageStep) noexcept;
