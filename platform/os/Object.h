#pragma once

#include "Types.h"

struct CRuntimeClass;

// Root of the framework's object classes. An object's run-time class is the record of the nearest class in its
// line that declares one (DECLARE_DYNAMIC or DECLARE_DYNCREATE in the class, IMPLEMENT_... in its source).
class CObject {
public:
    using ThisRuntimeClass = CObject;

    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    static CRuntimeClass* GetThisClass();
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
};

// A class with a run-time class record of its own, named after the class.
#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    using ThisRuntimeClass = class_name;                                                                               \
    static CRuntimeClass* GetThisClass();                                                                              \
    CRuntimeClass* GetRuntimeClass() const override;

// The same, for a class whose record can also make objects of it (with its default constructor).
#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();
