#include "Object.h"

#include "RuntimeClass.h"

CRuntimeClass* CObject::GetThisClass() {
    static CRuntimeClass record{"CObject", nullptr, nullptr};
    return &record;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return GetThisClass(); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }
