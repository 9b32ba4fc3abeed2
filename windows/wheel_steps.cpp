// Wheel rotation to scroll steps.
#include "wheel_steps.h"

KQWheelSteps KQTakeWheelSteps(long long& pending, int delta, unsigned int perNotch) noexcept {
  if (perNotch == 0) {
    pending = 0;
    return {0, false};
  }
  const bool pages = perNotch == kqWheelPageScroll;
  const long long scale = pages ? 1 : (perNotch > 10000 ? 10000 : perNotch);
  // Pending rotation is kept in units of 1 / scale of a wheel delta unit: a step is exactly one notch.
  if ((pending < 0 && delta > 0) || (pending > 0 && delta < 0))
    pending = 0;
  pending += static_cast<long long>(delta) * scale;
  const long long steps = pending / kqWheelNotch; // truncates toward zero: the remainder keeps its sign
  pending -= steps * kqWheelNotch;
  return {static_cast<int>(steps), pages};
}
