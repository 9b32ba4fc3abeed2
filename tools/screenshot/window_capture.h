// Screenshots of real windows: the pixels the window shows on the display, read back with BitBlt from
// its device context while it is visible (Wine's PrintWindow only sends WM_PRINT).
#pragma once

#include "png_writer.h"

#include <windows.h>

#include <string>

namespace kqshot {

// The window's pixels, frame and caption included (whole = true) or its client area only. Unless
// `asShown`, the window is repainted first (RedrawWindow with RDW_UPDATENOW, children included), which
// sends WM_PAINT to its thread: call from the window's thread or while that thread dispatches sent
// messages. With `asShown`, the pixels are read as they are on the display, without a repaint.
// An empty image when the window is not visible or the capture fails.
RgbImage CaptureWindow(HWND window, bool whole = true, bool asShown = false);

// CaptureWindow then WritePng; false when either fails.
bool SaveWindowPng(HWND window, const std::string& path, bool whole = true);

} // namespace kqshot
