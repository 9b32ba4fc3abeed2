// CStringList: the framework's doubly linked list of CString, with nodes allocated nBlockSize at a time.
//
// Differences from the framework:
// - FindIndex walks from whichever end is nearer, so fetching a line near the tail of a long list
//   costs as little as one near the head.
// - Allocation failure throws std::bad_alloc (the framework throws CMemoryException*); the list is
//   then unchanged.
// - Copying a list is not allowed (as in the framework, whose CObject copy constructor is private).
#pragma once

#include "afxstr.h"

class KQAFX_API CStringList {
public:
  explicit CStringList(INT_PTR nBlockSize = 10);
  CStringList(const CStringList&) = delete;
  CStringList& operator=(const CStringList&) = delete;
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
  POSITION AddTail(const CString& newElement);
  POSITION AddTail(LPCTSTR newElement);
  POSITION InsertAfter(POSITION position, const CString& newElement);
  POSITION InsertBefore(POSITION position, const CString& newElement);

  // Removes and returns the head (tail) of a non-empty list (asserted).
  CString RemoveHead();
  CString RemoveTail();
  void RemoveAt(POSITION position);
  // Removes every element and frees every block.
  void RemoveAll() noexcept;

  // The position of the element at nIndex (0 = head), or NULL when nIndex is negative or too large.
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
