// CGdiObject and CFont.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)

CGdiObject::~CGdiObject() {
  DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) {
  return AfxTempObject<CGdiObject>(hObject);
}

HGDIOBJ CGdiObject::GetSafeHandle() const noexcept {
  return this == nullptr ? nullptr : m_hObject;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr || m_hObject != nullptr)
    return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  m_hObject = nullptr;
  return hObject;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr)
    return FALSE;
  return ::DeleteObject(Detach());
}

CFont* PASCAL CFont::FromHandle(HFONT hFont) {
  return AfxTempObject<CFont>(static_cast<HGDIOBJ>(hFont));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
  if (m_hObject != nullptr)
    return FALSE;
  return Attach(::CreateFontIndirectA(lpLogFont));
}
