// Compiled, not run: ctest builds this file once with KQ_BAD_HANDLER=0, which must compile cleanly,
// and once per wrong handler signature (KQ_BAD_HANDLER=1..9), which the message-map macro must
// reject at compile time. Bad<n, Good, Wrong> is the wrong type only in case n. (The window tests
// compile every macro with its right signature.)
#include <afxwin.h>

#include <type_traits>

#ifndef KQ_BAD_HANDLER
#define KQ_BAD_HANDLER 0
#endif

template <int n, class Good, class Wrong> using Bad = std::conditional_t<KQ_BAD_HANDLER == n, Wrong, Good>;

class CTarget : public CWnd {
public:
  afx_msg Bad<1, int, void> OnCreate(LPCREATESTRUCT lpCreateStruct); // must return int
  afx_msg void OnSize(Bad<2, UINT, int> nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, Bad<3, CScrollBar*, CWnd*> pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, Bad<4, UINT, int> nPos, CScrollBar* pScrollBar);
  afx_msg Bad<5, void, BOOL> OnPaint();
  void OnGo(Bad<6, void, UINT>); // commands take no argument
  afx_msg Bad<7, BOOL, void> OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnMouseHWheel(UINT nFlags, Bad<8, short, int> zDelta, CPoint pt);
  afx_msg void OnContextMenu(CWnd* pWnd, Bad<9, CPoint, POINT> pos);
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_PAINT()
ON_COMMAND(100, &CTarget::OnGo)
ON_WM_MOUSEWHEEL()
ON_WM_MOUSEHWHEEL()
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()
