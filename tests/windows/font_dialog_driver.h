// Test helper: drives the system's font dialog from a watcher thread. It picks a face by name in the
// face list (cmb1) and a colour in the colour list (cmb4), as a user's clicks would, telling the
// dialog of each change (CBN_SELCHANGE), before the watcher presses OK or Cancel.
#pragma once

#include "dialog_watcher.h"

#include <windows.h>

#include <string>

namespace kqtest {

constexpr int fontFaceList = 0x470;   // cmb1
constexpr int fontColourList = 0x473; // cmb4

// Selects the item whose text is `text` in a dialog's combo box; its index, or -1.
inline int SelectComboText(HWND dialog, int id, const std::string& text) {
  HWND combo = ::GetDlgItem(dialog, id);
  const LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR)
    return -1;
  ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return static_cast<int>(index);
}

// The texts of a dialog's combo box items.
inline std::vector<std::string> ComboTexts(HWND dialog, int id) {
  HWND combo = ::GetDlgItem(dialog, id);
  std::vector<std::string> texts;
  const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char buffer[256] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
    texts.emplace_back(buffer);
  }
  return texts;
}

// What the watcher chose in the font dialog.
struct FontChoice {
  std::string face;
  COLORREF colour = 0;
  bool picked = false;
};

// A watcher answer that picks `face` and the colour item `colourName` (e.g. "Red"), then `command`.
inline DialogAnswer ChooseInFontDialog(const std::string& face, const std::string& colourName, WORD command,
                                       FontChoice& choice) {
  DialogAnswer answer;
  answer.command = command;
  answer.prepare = [face, colourName, &choice](HWND dialog) {
    const int faceIndex = SelectComboText(dialog, fontFaceList, face);
    const int colourIndex = SelectComboText(dialog, fontColourList, colourName);
    choice.face = face;
    choice.colour = colourIndex < 0
                        ? 0
                        : static_cast<COLORREF>(::SendDlgItemMessageA(dialog, fontColourList, CB_GETITEMDATA,
                                                                      static_cast<WPARAM>(colourIndex), 0));
    choice.picked = faceIndex >= 0 && colourIndex >= 0;
  };
  return answer;
}

} // namespace kqtest
