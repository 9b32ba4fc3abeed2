// CObject and its run-time class information.
#include "afx.h"

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  ASSERT(pBaseClass != nullptr);
  for (const CRuntimeClass* pClass = this; pClass != nullptr;
       pClass = pClass->m_pfnGetBaseClass != nullptr ? pClass->m_pfnGetBaseClass() : nullptr) {
    if (pClass == pBaseClass)
      return TRUE;
  }
  return FALSE;
}

CRuntimeClass* PASCAL CObject::GetThisClass() {
  static CRuntimeClass rc = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
  return &rc;
}

CRuntimeClass* CObject::GetRuntimeClass() const {
  return GetThisClass();
}

CObject::~CObject() = default;

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}
