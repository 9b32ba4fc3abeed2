// Test helpers for the text windows under Wine: recording what the windows draw, reading scroll bars,
// and the stock font's metrics that a new window starts with.
#pragma once

#include "iat_hook.h"
#include "message_pump.h"

#include <afxwin.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace kqtest {

// One TextOutA call, with the colours and font face selected at that moment.
struct DrawnText {
  HWND window;
  int x;
  int y;
  std::string text;
  COLORREF textColor;
  COLORREF backColor;
  std::string face;
};

// Records every TextOutA call the framework layer (kqafx.dll, where CDC::TextOut lives) makes while
// the recorder exists. One recorder at a time.
class TextOutRecorder {
public:
  TextOutRecorder() : hook("kqafx.dll", "gdi32.dll", "TextOutA", reinterpret_cast<void*>(&Hooked)) {
    current = this;
  }
  ~TextOutRecorder() { current = nullptr; }
  TextOutRecorder(const TextOutRecorder&) = delete;
  TextOutRecorder& operator=(const TextOutRecorder&) = delete;

  bool installed() const { return hook.installed(); }
  std::vector<DrawnText> take() {
    std::lock_guard<std::mutex> guard(mutex);
    return std::exchange(drawn, {});
  }

private:
  static BOOL WINAPI Hooked(HDC dc, int x, int y, LPCSTR text, int count) {
    if (TextOutRecorder* self = current) {
      char face[LF_FACESIZE] = {};
      ::GetTextFaceA(dc, LF_FACESIZE, face);
      std::lock_guard<std::mutex> guard(self->mutex);
      self->drawn.push_back({::WindowFromDC(dc), x, y,
                             std::string(text, static_cast<size_t>(count > 0 ? count : 0)),
                             ::GetTextColor(dc), ::GetBkColor(dc), face});
      return self->hook.originalAs<decltype(&::TextOutA)>()(dc, x, y, text, count);
    }
    return ::TextOutA(dc, x, y, text, count);
  }

  static inline TextOutRecorder* current = nullptr;
  IatHook hook;
  std::mutex mutex;
  std::vector<DrawnText> drawn;
};

inline SCROLLINFO ScrollInfo(HWND window, int bar) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ::GetScrollInfo(window, bar, &info);
  return info;
}

// Paints whatever is invalid now and handles every message waiting for this thread.
inline void Settle(HWND window) {
  PumpPending();
  ::UpdateWindow(window);
  PumpPending();
}

inline RECT ClientRect(HWND window) {
  RECT r = {};
  ::GetClientRect(window, &r);
  return r;
}

// The metrics of a font described by `font` on the screen.
inline TEXTMETRICA MetricsOf(const LOGFONTA& font) {
  TEXTMETRICA tm = {};
  HDC dc = ::GetDC(nullptr);
  HFONT created = ::CreateFontIndirectA(&font);
  HGDIOBJ old = ::SelectObject(dc, created);
  ::GetTextMetricsA(dc, &tm);
  ::SelectObject(dc, old);
  ::DeleteObject(created);
  ::ReleaseDC(nullptr, dc);
  return tm;
}

// What a window starts with: the stock fixed font's description and metrics on the screen.
struct StockFont {
  LOGFONTA font = {};
  TEXTMETRICA metrics = {};
  StockFont() {
    ::GetObjectA(::GetStockObject(ANSI_FIXED_FONT), sizeof(font), &font);
    metrics = MetricsOf(font);
  }
};

// Sizes a window so that its client area is width x height (the scroll bars it shows then included).
inline void SetClientSize(HWND window, int width, int height) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT client = ClientRect(window), outer = {};
    ::GetWindowRect(window, &outer);
    const int dw = width - client.right, dh = height - client.bottom;
    if (dw == 0 && dh == 0)
      return;
    ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpPending();
  }
}

} // namespace kqtest
