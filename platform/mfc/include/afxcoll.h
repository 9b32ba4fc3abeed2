// afxcoll.h: CStringList, the framework's doubly linked list of CString, with nodes allocated
// nBlockSize at a time. afx.h (or afxwin.h) must be included first.
//
// Allocation failure throws CMemoryException* (AfxThrowMemoryException); the list is then unchanged.
// A list is not copyable (CObject's copy operations are not available).
#pragma once

#ifndef __AFX_H__
#error afxcoll.h requires afx.h (or afxwin.h) to be included first
#endif

class KQAFX_API CStringList : public CObject {
  DECLARE_DYNAMIC(CStringList)
public:
  CStringList(INT_PTR nBlockSize = 10);
  ~CStringList();

  INT_PTR GetCount() const noexcept { return m_nCount; }
  BOOL IsEmpty() const noexcept { return m_nCount == 0; }

  // Head and tail of a non-empty list (asserted).
  CString& GetHead();
  const CString& GetHead() const;
  CString& GetTail();
  const CString& GetTail() const;

  // NULL when the list is empty.
  POSITION GetHeadPosition() const noexcept { return reinterpret_cast<POSITION>(m_pNodeHead); }
  POSITION GetTailPosition() const noexcept { return reinterpret_cast<POSITION>(m_pNodeTail); }
  // The element at rPosition; rPosition moves to the next (previous) element, NULL after the last.
  CString& GetNext(POSITION& rPosition);
  const CString& GetNext(POSITION& rPosition) const;
  CString& GetPrev(POSITION& rPosition);
  const CString& GetPrev(POSITION& rPosition) const;

  POSITION AddTail(const CString& newElement);
  POSITION AddTail(LPCTSTR newElement);

  // Removes and returns the head of a non-empty list (asserted).
  CString RemoveHead();
  // Removes every element and frees every block.
  void RemoveAll() noexcept;

  // The position of the element at nIndex (0 = head), found by walking from the head (nIndex steps),
  // or NULL when nIndex is negative or too large.
  POSITION FindIndex(INT_PTR nIndex) const noexcept;

private:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    CString data;
  };
  struct CPlex; // one block of nodes; blocks are chained and freed together

  CNode* NewNode(CNode* pPrev, CNode* pNext);
  void FreeNode(CNode* pNode) noexcept;
  static CNode* Node(POSITION p) noexcept { return reinterpret_cast<CNode*>(p); }

  CNode* m_pNodeHead;
  CNode* m_pNodeTail;
  INT_PTR m_nCount;
  CNode* m_pNodeFree;
  CPlex* m_pBlocks;
  INT_PTR m_nBlockSize;
};
