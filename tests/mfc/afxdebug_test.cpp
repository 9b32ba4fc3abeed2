// The framework's debug checks: a failed ASSERT of a debug build reports its file and line and ends the
// process; in other builds ASSERT evaluates nothing and VERIFY only its expression.
#include <afx.h>
#include <afxcoll.h>

#include <gtest/gtest.h>

int evaluationsWithoutDebug(); // afxdebug_release.cpp, built without _DEBUG

TEST(AfxDebug, ChecksOnlyInDebugBuilds) {
  EXPECT_EQ(evaluationsWithoutDebug(), 1);
#ifdef _DEBUG
  int n = 0;
  ASSERT(++n);
  VERIFY(++n);
  EXPECT_EQ(n, 2);
  EXPECT_DEATH(CStringList().GetTail(), "afxcoll\\.cpp\\([0-9]+\\): ASSERT failed");
#endif
}
