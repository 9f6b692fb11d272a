#include "Object.h"

#include "RuntimeClass.h"

const CRuntimeClass* CObject::GetThisClass() {
    static const CRuntimeClass record{"CObject", nullptr, nullptr};
    return &record;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return GetThisClass(); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }
