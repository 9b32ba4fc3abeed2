// Turning mouse-wheel rotation into scroll steps. Platform-free: plain integers only.
#pragma once

// One notch of the wheel, in the units of a wheel message's delta (the platform's WHEEL_DELTA).
constexpr int kqWheelNotch = 120;
// The "one page per notch" value of the wheel setting (the platform's WHEEL_PAGESCROLL).
constexpr unsigned int kqWheelPageScroll = 0xFFFFFFFFu;

// Whole steps for one wheel message.
struct KQWheelSteps {
  int count;  // steps in the direction of the delta's sign (negative for a negative delta), 0: none yet
  bool pages; // true: the steps are pages (the setting is kqWheelPageScroll), false: lines or columns
};

// Adds `delta` (a wheel message's rotation) to `pending`, the rotation not yet turned into steps, and
// takes out the whole steps it now holds: `perNotch` steps per notch (the user's setting; 0 turns the
// wheel off and forgets the pending rotation), or one page per notch for kqWheelPageScroll. Partial
// rotations add up across calls, in units finer than a step, so that a wheel sending 30 per message
// with 3 lines per notch scrolls one line every 40. A rotation in the direction opposite to what is
// pending first forgets what is pending. Settings above 10000 steps per notch count as 10000.
KQWheelSteps KQTakeWheelSteps(long long& pending, int delta, unsigned int perNotch) noexcept;
