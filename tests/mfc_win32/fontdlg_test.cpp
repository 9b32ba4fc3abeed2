// CFontDialog over the system's font dialog: the initial font shown, the chosen LOGFONTA, size and
// colour after OK, everything as before after Cancel. The watcher plays the user: it picks another
// face, a size and red in the dialog's own lists (so the test needs no particular font installed).
#include <afxdlgs.h>

#include <dialog_watcher.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

int ScreenDpi() {
  HDC hScreen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
  ::ReleaseDC(nullptr, hScreen);
  return dpi;
}

// The TrueType faces with ANSI characters that this prefix has.
std::vector<std::string> TrueTypeFaces() {
  std::vector<std::string> faces;
  LOGFONTA query = {};
  query.lfCharSet = ANSI_CHARSET;
  HDC hScreen = ::GetDC(nullptr);
  ::EnumFontFamiliesExA(
      hScreen, &query,
      [](const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM out) -> int {
        auto* list = reinterpret_cast<std::vector<std::string>*>(out);
        if ((type & TRUETYPE_FONTTYPE) && lf->lfFaceName[0] != '@')
          list->push_back(lf->lfFaceName);
        return 1;
      },
      reinterpret_cast<LPARAM>(&faces), 0);
  ::ReleaseDC(nullptr, hScreen);
  return faces;
}

LOGFONTA FontOf(const std::string& face, int points) {
  LOGFONTA lf = {};
  lf.lfHeight = -::MulDiv(points, ScreenDpi(), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return lf;
}

std::string ComboSelection(HWND hCombo) {
  const LRESULT i = ::SendMessageA(hCombo, CB_GETCURSEL, 0, 0);
  if (i == CB_ERR)
    return "";
  char text[256] = {};
  ::SendMessageA(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
  return text;
}

// Selects item i of the dialog's combo box `id` the way a click does. Returns the item's text.
std::string Select(HWND hDialog, int id, int i) {
  HWND hCombo = ::GetDlgItem(hDialog, id);
  ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
  ::SendMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
  return ComboSelection(hCombo);
}

// What the watcher saw and chose in the font dialog.
struct UserChoice {
  std::string initialFace; // face selected when the dialog opened
  std::string face;
  int points = 0;
  bool red = false;
};

// Picks `otherFace`, the size "20" (or the list's last size) and red.
void Choose(HWND hDialog, const std::string& otherFace, UserChoice* choice) {
  HWND hFaces = ::GetDlgItem(hDialog, cmb1);
  choice->initialFace = ComboSelection(hFaces);
  const LRESULT iFace = ::SendMessageA(hFaces, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(otherFace.c_str()));
  if (iFace == CB_ERR)
    return;
  choice->face = Select(hDialog, cmb1, static_cast<int>(iFace));

  HWND hSizes = ::GetDlgItem(hDialog, cmb3);
  LRESULT iSize =
      ::SendMessageA(hSizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("20"));
  if (iSize == CB_ERR)
    iSize = ::SendMessageA(hSizes, CB_GETCOUNT, 0, 0) - 1;
  choice->points = std::atoi(Select(hDialog, cmb3, static_cast<int>(iSize)).c_str());

  HWND hColors = ::GetDlgItem(hDialog, cmb4);
  const int nColors = static_cast<int>(::SendMessageA(hColors, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < nColors; ++i) {
    if (static_cast<COLORREF>(::SendMessageA(hColors, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) ==
        RGB(255, 0, 0)) {
      Select(hDialog, cmb4, i);
      choice->red = true;
      break;
    }
  }
}

class FontDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::vector<std::string> faces = TrueTypeFaces();
    ASSERT_GE(faces.size(), 2u) << "the prefix needs two TrueType faces";
    m_initialFace = faces[0];
    m_otherFace = faces[1];
  }
  std::string m_initialFace;
  std::string m_otherFace;
};

TEST_F(FontDialogTest, OkGivesTheChosenFontSizeAndColour) {
  LOGFONTA initial = FontOf(m_initialFace, 10);
  CFontDialog dialog(&initial, CF_SCREENFONTS | CF_EFFECTS | CF_ANSIONLY | CF_FORCEFONTEXIST);
  initial.lfHeight = 1; // the dialog works on its own copy

  UserChoice choice;
  const std::string other = m_otherFace;
  kqtest::DialogWatcher watcher(
      {.prepare = [&choice, other](HWND h) { Choose(h, other, &choice); }, .command = IDOK});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  ASSERT_TRUE(watcher.Result().found);
  EXPECT_EQ(choice.initialFace, m_initialFace) << "the dialog opens on the initial font";
  ASSERT_EQ(choice.face, m_otherFace);
  ASSERT_GT(choice.points, 0);
  ASSERT_TRUE(choice.red);

  LOGFONTA chosen = {};
  dialog.GetCurrentFont(&chosen);
  EXPECT_STREQ(chosen.lfFaceName, m_otherFace.c_str());
  EXPECT_EQ(chosen.lfHeight, -::MulDiv(choice.points, ScreenDpi(), 72));
  EXPECT_EQ(dialog.m_lf.lfHeight, chosen.lfHeight);
  EXPECT_EQ(dialog.GetFaceName(), m_otherFace.c_str());
  EXPECT_EQ(dialog.GetSize(), choice.points * 10);
  EXPECT_EQ(dialog.GetColor(), RGB(255, 0, 0));
}

TEST_F(FontDialogTest, CancelLeavesFontAndColourAsTheyWere) {
  LOGFONTA initial = FontOf(m_initialFace, 10);
  CFontDialog dialog(&initial);
  dialog.m_cf.rgbColors = RGB(0, 0, 128);

  UserChoice choice;
  const std::string other = m_otherFace;
  kqtest::DialogWatcher watcher(
      {.prepare = [&choice, other](HWND h) { Choose(h, other, &choice); }, .command = IDCANCEL});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ASSERT_TRUE(watcher.Result().found);
  ASSERT_EQ(choice.face, m_otherFace) << "the user did change the selection before cancelling";

  LOGFONTA after = {};
  dialog.GetCurrentFont(&after);
  EXPECT_STREQ(after.lfFaceName, m_initialFace.c_str());
  EXPECT_EQ(after.lfHeight, initial.lfHeight);
  EXPECT_EQ(dialog.GetColor(), RGB(0, 0, 128));
}

} // namespace
