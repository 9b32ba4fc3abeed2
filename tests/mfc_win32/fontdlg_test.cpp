// CFontDialog over the system's font dialog: the initial font shown, the chosen LOGFONTA, size and
// colour after OK, everything as before after Cancel. The watcher plays the user: it picks another
// face, the last size and red in the dialog's own lists (so the test needs no particular font).
#include <afxdlgs.h>

#include <dialog_watcher.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Item i of the dialog's combo box `id` (the current one when i < 0), selected as a click does when
// `select`; gives the item's text.
std::string ComboItem(HWND hDialog, int id, LRESULT i, bool select) {
  HWND hCombo = ::GetDlgItem(hDialog, id);
  if (i < 0)
    i = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
  if (select) {
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    ::SendMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
  }
  char text[256] = {};
  ::SendMessageA(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
  return text;
}

class FontDialogTest : public ::testing::Test {
protected:
  // The first two TrueType faces with ANSI characters that this prefix has.
  void SetUp() override {
    LOGFONTA query = {};
    query.lfCharSet = ANSI_CHARSET;
    HDC hScreen = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(
        hScreen, &query,
        [](const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM out) -> int {
          if ((type & TRUETYPE_FONTTYPE) && lf->lfFaceName[0] != '@')
            reinterpret_cast<std::vector<std::string>*>(out)->push_back(lf->lfFaceName);
          return 1;
        },
        reinterpret_cast<LPARAM>(&m_faces), 0);
    m_dpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(nullptr, hScreen);
    ASSERT_GE(m_faces.size(), 2u) << "the prefix needs two TrueType faces";
    m_initial.lfHeight = -::MulDiv(10, m_dpi, 72);
    m_initial.lfWeight = FW_NORMAL;
    m_initial.lfCharSet = ANSI_CHARSET;
    lstrcpynA(m_initial.lfFaceName, m_faces[0].c_str(), LF_FACESIZE);
  }

  // The user (on the watcher thread): notes the face shown, picks the second face, the last size and red.
  void PlayUser(HWND h) {
    m_initialShown = ComboItem(h, cmb1, -1, false);
    const LRESULT iFace = ::SendMessageA(::GetDlgItem(h, cmb1), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(m_faces[1].c_str()));
    m_chosenFace = ComboItem(h, cmb1, iFace, true);
    const LRESULT nSizes = ::SendMessageA(::GetDlgItem(h, cmb3), CB_GETCOUNT, 0, 0);
    m_points = std::atoi(ComboItem(h, cmb3, nSizes - 1, true).c_str());
    HWND hColors = ::GetDlgItem(h, cmb4);
    for (LRESULT i = 0; i < ::SendMessageA(hColors, CB_GETCOUNT, 0, 0); ++i) {
      if (static_cast<COLORREF>(::SendMessageA(hColors, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) ==
          RGB(255, 0, 0)) {
        ComboItem(h, cmb4, i, true);
        m_red = true;
      }
    }
  }

  INT_PTR Run(CFontDialog& dialog, WORD command) {
    kqtest::DialogWatcher watcher({.prepare = [this](HWND h) { PlayUser(h); }, .command = command});
    const INT_PTR nResult = dialog.DoModal();
    EXPECT_TRUE(watcher.Result().found);
    return nResult;
  }

  std::vector<std::string> m_faces;
  int m_dpi = 0;
  LOGFONTA m_initial = {};
  std::string m_initialShown, m_chosenFace; // by the watcher
  int m_points = 0;
  bool m_red = false;
};

TEST_F(FontDialogTest, OkGivesTheChosenFontSizeAndColour) {
  CFontDialog dialog(&m_initial, CF_SCREENFONTS | CF_EFFECTS | CF_ANSIONLY | CF_FORCEFONTEXIST);
  m_initial.lfHeight = 1; // the dialog works on its own copy
  ASSERT_EQ(Run(dialog, IDOK), IDOK);
  EXPECT_EQ(m_initialShown, m_faces[0]) << "the dialog opens on the initial font";
  ASSERT_EQ(m_chosenFace, m_faces[1]);
  ASSERT_GT(m_points, 0);
  ASSERT_TRUE(m_red);

  LOGFONTA chosen = {};
  dialog.GetCurrentFont(&chosen);
  EXPECT_STREQ(chosen.lfFaceName, m_faces[1].c_str());
  EXPECT_EQ(chosen.lfHeight, -::MulDiv(m_points, m_dpi, 72));
  EXPECT_EQ(dialog.m_lf.lfHeight, chosen.lfHeight);
  EXPECT_EQ(dialog.GetFaceName(), m_faces[1].c_str());
  EXPECT_EQ(dialog.GetSize(), m_points * 10);
  EXPECT_EQ(dialog.GetColor(), RGB(255, 0, 0));
}

TEST_F(FontDialogTest, CancelLeavesFontAndColourAsTheyWere) {
  CFontDialog dialog(&m_initial);
  dialog.m_cf.rgbColors = RGB(0, 0, 128);
  EXPECT_EQ(Run(dialog, IDCANCEL), IDCANCEL);
  ASSERT_EQ(m_chosenFace, m_faces[1]) << "the user did change the selection before cancelling";

  LOGFONTA after = {};
  dialog.GetCurrentFont(&after);
  EXPECT_STREQ(after.lfFaceName, m_faces[0].c_str());
  EXPECT_EQ(after.lfHeight, m_initial.lfHeight);
  EXPECT_EQ(dialog.GetColor(), RGB(0, 0, 128));
}

} // namespace
