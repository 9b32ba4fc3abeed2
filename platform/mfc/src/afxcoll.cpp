// CStringList: nodes come from blocks of m_nBlockSize; freed nodes go to a free list and are reused;
// blocks are released together when the list becomes empty or is destroyed.
#include "afx.h"

#include "afxcoll.h"

#include <new>

struct CStringList::CPlex {
  CPlex* pNext;
  // followed by the block's nodes (raw storage; a node's CString lives only while the node is in use)
  CNode* Nodes() noexcept { return reinterpret_cast<CNode*>(this + 1); }

  static CPlex* Create(CPlex*& head, INT_PTR nNodes) {
    static_assert(sizeof(CPlex) % alignof(CNode) == 0);
    void* raw = nullptr;
    try {
      raw = ::operator new(sizeof(CPlex) + static_cast<size_t>(nNodes) * sizeof(CNode));
    } catch (const std::bad_alloc&) {
      AfxThrowMemoryException();
    }
    CPlex* p = static_cast<CPlex*>(raw);
    p->pNext = head;
    head = p;
    return p;
  }
};

IMPLEMENT_DYNAMIC(CStringList, CObject)

CStringList::CStringList(INT_PTR nBlockSize)
    : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_pNodeFree(nullptr), m_pBlocks(nullptr),
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CStringList::~CStringList() {
  RemoveAll();
}

CStringList::CNode* CStringList::NewNode(CNode* pPrev, CNode* pNext) {
  if (m_pNodeFree == nullptr) {
    CPlex* block = CPlex::Create(m_pBlocks, m_nBlockSize);
    CNode* nodes = block->Nodes();
    for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i) {
      nodes[i].pNext = m_pNodeFree;
      m_pNodeFree = &nodes[i];
    }
  }
  CNode* node = m_pNodeFree;
  new (&node->data) CString(); // cannot throw
  m_pNodeFree = node->pNext;
  node->pPrev = pPrev;
  node->pNext = pNext;
  ++m_nCount;
  return node;
}

void CStringList::FreeNode(CNode* pNode) noexcept {
  pNode->data.~CString();
  pNode->pNext = m_pNodeFree;
  m_pNodeFree = pNode;
  if (--m_nCount == 0)
    RemoveAll();
}

CString& CStringList::GetHead() {
  ASSERT(m_pNodeHead);
  return m_pNodeHead->data;
}
const CString& CStringList::GetHead() const {
  ASSERT(m_pNodeHead);
  return m_pNodeHead->data;
}
CString& CStringList::GetTail() {
  ASSERT(m_pNodeTail);
  return m_pNodeTail->data;
}
const CString& CStringList::GetTail() const {
  ASSERT(m_pNodeTail);
  return m_pNodeTail->data;
}

CString& CStringList::GetNext(POSITION& rPosition) {
  CNode* node = Node(rPosition);
  rPosition = reinterpret_cast<POSITION>(node->pNext);
  return node->data;
}
const CString& CStringList::GetNext(POSITION& rPosition) const {
  CNode* node = Node(rPosition);
  rPosition = reinterpret_cast<POSITION>(node->pNext);
  return node->data;
}
CString& CStringList::GetPrev(POSITION& rPosition) {
  CNode* node = Node(rPosition);
  rPosition = reinterpret_cast<POSITION>(node->pPrev);
  return node->data;
}
const CString& CStringList::GetPrev(POSITION& rPosition) const {
  CNode* node = Node(rPosition);
  rPosition = reinterpret_cast<POSITION>(node->pPrev);
  return node->data;
}

POSITION CStringList::AddTail(const CString& newElement) {
  CNode* node = NewNode(m_pNodeTail, nullptr);
  node->data = newElement; // shares newElement's characters: cannot fail
  (m_pNodeTail ? m_pNodeTail->pNext : m_pNodeHead) = node;
  m_pNodeTail = node;
  return reinterpret_cast<POSITION>(node);
}
POSITION CStringList::AddTail(LPCTSTR newElement) {
  return AddTail(CString(newElement));
}

// Both walk pNewList in the direction that keeps its order at the insertion point, for as many elements
// as it had: a list added to itself is doubled.

CString CStringList::RemoveHead() {
  ASSERT(m_pNodeHead);
  CNode* old = m_pNodeHead;
  CString value(old->data);
  m_pNodeHead = old->pNext;
  (m_pNodeHead ? m_pNodeHead->pPrev : m_pNodeTail) = nullptr;
  FreeNode(old);
  return value;
}

void CStringList::RemoveAll() noexcept {
  for (CNode* node = m_pNodeHead; node != nullptr; node = node->pNext)
    node->data.~CString();
  while (m_pBlocks != nullptr) {
    CPlex* next = m_pBlocks->pNext;
    ::operator delete(m_pBlocks);
    m_pBlocks = next;
  }
  m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
  m_nCount = 0;
}

POSITION CStringList::FindIndex(INT_PTR nIndex) const noexcept {
  if (nIndex < 0 || nIndex >= m_nCount)
    return nullptr;
  CNode* node = m_pNodeHead;
  while (nIndex-- > 0)
    node = node->pNext;
  return reinterpret_cast<POSITION>(node);
}
