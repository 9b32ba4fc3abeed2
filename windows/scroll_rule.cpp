// The shared scroll rule.
#include "scroll_rule.h"

namespace {
// 32-bit two's-complement arithmetic without signed overflow in C++ terms.
int wrap(unsigned int value) noexcept {
  return static_cast<int>(value);
}
int sub(int a, int b) noexcept {
  return wrap(static_cast<unsigned int>(a) - static_cast<unsigned int>(b));
}
int neg(int a) noexcept {
  return wrap(0u - static_cast<unsigned int>(a));
}
} // namespace

int KQComputeScrollPosDelta(unsigned int scrollCode, unsigned int thumbPos, int currentPos, int maxPos,
                            int lineStep, int pageStep) noexcept {
  int raw;
  switch (scrollCode) {
  case KQ_SB_LINEUP:
    raw = neg(lineStep);
    break;
  case KQ_SB_LINEDOWN:
    raw = lineStep;
    break;
  case KQ_SB_PAGEUP:
    raw = neg(pageStep);
    break;
  case KQ_SB_PAGEDOWN:
    raw = pageStep;
    break;
  case KQ_SB_THUMBPOSITION:
    raw = sub(wrap(thumbPos), currentPos);
    break;
  case KQ_SB_TOP:
    raw = neg(currentPos);
    break;
  case KQ_SB_BOTTOM:
    raw = sub(maxPos, currentPos);
    break;
  default:
    // Thumb tracking, end of scroll and unknown codes never move the view, not even back into the range
    // from a position outside it.
    return 0;
  }
  // Upper clamp first, then the lower one, so the lower bound wins when the two cross.
  const int room = sub(maxPos, currentPos);
  int delta = raw >= room ? room : raw;
  if (neg(currentPos) > delta)
    delta = neg(currentPos);
  return delta;
}
