// Win32 only. The parts of the opt-in windows' viewer handling that do not depend on the window type.
#include "text_viewer.h"

#include <cstdio>

const UINT kqFindMessage = ::RegisterWindowMessageA(FINDMSGSTRING);

void KQInitViewer(KQViewerState& viewer) noexcept {
  viewer = KQViewerState{};
  viewer.findFlags = FR_DOWN;
}

void KQReportSaveFailure(CWnd& window, const char* path, int error) {
  char text[MAX_PATH + 160];
  std::snprintf(text, sizeof(text), "The file %s could not be written: %s.", path,
                error != 0 ? std::strerror(error) : "unknown error");
  ::MessageBoxA(window.GetSafeHwnd(), text, "Save as", MB_OK | MB_ICONERROR);
}
