// Compiled, not run: ctest builds this file once with KQ_BAD_HANDLER=0, which must compile cleanly,
// and once per wrong handler signature (KQ_BAD_HANDLER=1..6), which the message-map macro must
// reject at compile time.
#include <afxwin.h>

#ifndef KQ_BAD_HANDLER
#define KQ_BAD_HANDLER 0
#endif

class CTarget : public CWnd {
public:
#if KQ_BAD_HANDLER == 1
  afx_msg void OnCreate(LPCREATESTRUCT lpCreateStruct); // must return int
#else
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
#endif
#if KQ_BAD_HANDLER == 2
  afx_msg void OnSize(int nType, int cx, int cy); // nType is UINT
#else
  afx_msg void OnSize(UINT nType, int cx, int cy);
#endif
#if KQ_BAD_HANDLER == 3
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar); // the bar is a CScrollBar*
#else
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
#endif
#if KQ_BAD_HANDLER == 4
  afx_msg void OnVScroll(UINT nSBCode, int nPos, CScrollBar* pScrollBar); // nPos is UINT
#else
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
#endif
#if KQ_BAD_HANDLER == 5
  afx_msg BOOL OnPaint(); // returns nothing
#else
  afx_msg void OnPaint();
#endif
#if KQ_BAD_HANDLER == 6
  void OnGo(UINT nID); // commands take no argument
#else
  void OnGo();
#endif
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_PAINT()
ON_COMMAND(100, &CTarget::OnGo)
END_MESSAGE_MAP()
