#include "window_capture.h"

namespace kqshot {

RgbImage CaptureWindow(HWND window, bool whole, bool asShown) {
  RgbImage image;
  if (!IsWindowVisible(window))
    return image;
  if (!asShown)
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rect;
  if (whole)
    GetWindowRect(window, &rect);
  else
    GetClientRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0)
    return image;

  HDC source = whole ? GetWindowDC(window) : GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const BOOL copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> bgra(static_cast<size_t>(width) * height * 4);
  const int rows = copied ? GetDIBits(memory, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS) : 0;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  if (rows != height)
    return image;

  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
    image.pixels[i * 3 + 0] = bgra[i * 4 + 2];
    image.pixels[i * 3 + 1] = bgra[i * 4 + 1];
    image.pixels[i * 3 + 2] = bgra[i * 4 + 0];
  }
  return image;
}

bool SaveWindowPng(HWND window, const std::string& path, bool whole) {
  return WritePng(CaptureWindow(window, whole), path);
}

} // namespace kqshot
