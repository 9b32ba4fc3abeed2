// The shared view arithmetic.
#include "view_math.h"

#include <algorithm>
#include <climits>

namespace {
int clampToInt(long long value) noexcept {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}
} // namespace

KQCellMetrics KQCellMetricsFromText(int aveCharWidth, int height, int externalLeading,
                                    unsigned int pitchAndFamily, int lineWidth) noexcept {
  KQCellMetrics m;
  m.charWidth = aveCharWidth;
  const long long capsFactor = (pitchAndFamily & 1u) | 2u; // 3 for variable pitch, 2 for fixed
  m.capsWidth = clampToInt(capsFactor * aveCharWidth / 2);
  m.lineHeight = clampToInt(static_cast<long long>(height) + externalLeading);
  m.textWidth = clampToInt((static_cast<long long>(lineWidth) + 1) * m.capsWidth);
  return m;
}

int KQVScrollMax(long long lineCount, int clientHeight, int lineHeight) noexcept {
  if (lineHeight <= 0)
    return 0;
  return clampToInt(std::max(0LL, lineCount - clientHeight / lineHeight));
}

int KQHScrollMax(int textWidth, int clientWidth, int charWidth) noexcept {
  if (charWidth <= 0)
    return 0;
  return clampToInt(std::max(0LL, (static_cast<long long>(textWidth) - clientWidth) / charWidth));
}

int KQVPageSize(int clientHeight, int lineHeight) noexcept {
  if (lineHeight <= 0)
    return 1;
  return std::max(1, clientHeight / lineHeight);
}

int KQHPageSize(int clientWidth, int charWidth) noexcept {
  if (charWidth <= 0)
    return 1;
  return std::max(1, clientWidth / charWidth / 8);
}

KQLineRange KQRowsToPaint(int vScrollPos, int updateTop, int updateBottom, int lineHeight,
                          long long lineCount) noexcept {
  if (lineHeight <= 0)
    return {0, 0};
  const long long first = std::max(0LL, static_cast<long long>(vScrollPos) - 1 + updateTop / lineHeight);
  const long long end =
      std::min(lineCount, static_cast<long long>(vScrollPos) + 1 + updateBottom / lineHeight);
  return {first, end};
}

KQLineRange KQRowsOnPage(int vScrollPos, int clientHeight, int lineHeight, long long lineCount) noexcept {
  if (lineHeight <= 0 || clientHeight <= 0)
    return {0, 0};
  const long long first = std::max(vScrollPos, 0);
  const long long shown = (static_cast<long long>(clientHeight) + lineHeight - 1) / lineHeight;
  return {first, std::min(first + shown, lineCount)};
}
