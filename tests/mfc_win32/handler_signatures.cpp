// Compiled, not run: ctest builds this file once with KQ_BAD_HANDLER=0, which must compile cleanly,
// and once per wrong handler signature (KQ_BAD_HANDLER=1..6), which the message-map macro must
// reject at compile time. Bad<n, Good, Wrong> is the wrong type only in case n. (The library and the
// window tests compile the other macros with their right signatures.)
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
  afx_msg void OnTimer(Bad<3, UINT_PTR, UINT> nIDEvent); // the 32-bit form of older code
  void OnUpdateFind(Bad<4, CCmdUI*, CCmdUI&> pCmdUI);
  void OnGo(Bad<5, void, UINT>); // commands take no argument
  afx_msg Bad<6, BOOL, void> OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_TIMER()
ON_UPDATE_COMMAND_UI(100, &CTarget::OnUpdateFind)
ON_COMMAND(100, &CTarget::OnGo)
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()
