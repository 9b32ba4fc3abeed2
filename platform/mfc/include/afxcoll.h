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
  INT_PTR GetSize() const noexcept { return m_nCount; }
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
  CString& GetAt(POSITION position);
  const CString& GetAt(POSITION position) const;
  void SetAt(POSITION pos, LPCTSTR newElement);
  void SetAt(POSITION pos, const CString& newElement);

  POSITION AddHead(const CString& newElement);
  POSITION AddHead(LPCTSTR newElement);
  // Copies of pNewList's elements (not NULL; asserted), in their order, before the head. pNewList may
  // be this list. An allocation failure keeps the copies added before it.
  void AddHead(CStringList* pNewList);
  POSITION AddTail(const CString& newElement);
  POSITION AddTail(LPCTSTR newElement);
  // Copies of pNewList's elements (not NULL; asserted), in their order, after the tail. As AddHead.
  void AddTail(CStringList* pNewList);
  POSITION InsertAfter(POSITION position, const CString& newElement);
  POSITION InsertBefore(POSITION position, const CString& newElement);

  // Removes and returns the head (tail) of a non-empty list (asserted).
  CString RemoveHead();
  CString RemoveTail();
  void RemoveAt(POSITION position);
  // Removes every element and frees every block.
  void RemoveAll() noexcept;

  // The position of the element at nIndex (0 = head), found by walking from the head (nIndex steps),
  // or NULL when nIndex is negative or too large.
  POSITION FindIndex(INT_PTR nIndex) const noexcept;
  // The first element equal to searchValue after startAfter (from the head when NULL), or NULL.
  POSITION Find(LPCTSTR searchValue, POSITION startAfter = NULL) const;

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
