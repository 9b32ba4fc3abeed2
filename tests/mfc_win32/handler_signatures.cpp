// Compiled, not run: with KQ_BAD_HANDLER=0 this must compile; with 1..4 (Bad<n, Good, Wrong> is the wrong
// type only in case n) the message-map macro must reject the handler. (The library and the window tests
// compile the other macros with their right signatures.)
#include <afxwin.h>

#include <type_traits>

#ifndef KQ_BAD_HANDLER
#define KQ_BAD_HANDLER 0
#endif

template <int n, class Good, class Wrong> using Bad = std::conditional_t<KQ_BAD_HANDLER == n, Wrong, Good>;

class CTarget : public CWnd {
public:
  afx_msg Bad<1, int, void> OnCreate(LPCREATESTRUCT lpCreateStruct); // must return int
  afx_msg void OnTimer(Bad<2, UINT_PTR, UINT> nIDEvent);             // the 32-bit form of older code
  void OnUpdateFind(Bad<3, CCmdUI*, CCmdUI&> pCmdUI);
  void OnGo(Bad<4, void, UINT>); // commands take no argument
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CWnd)
ON_WM_CREATE()
ON_WM_TIMER()
ON_UPDATE_COMMAND_UI(100, &CTarget::OnUpdateFind)
ON_COMMAND(100, &CTarget::OnGo)
END_MESSAGE_MAP()
