#pragma once

#include "Object.h"

#include <string>
#include <type_traits>
#include <typeinfo>

// The framework's run-time class record: a class's name, its base's record and, for a class that can be made
// from its record, a way to make one (document templates, CreateView, the grid's cell class).
struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, which the caller owns; null for a class that cannot be made, or out of memory.
    CObject* CreateObject() const;
    // TRUE when this is the given record or one of its bases.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The record of a class: its own when it declares one; else one made here, named after the class, that can
    // make objects when the class is concrete with a public default constructor, and whose base is the nearest
    // declared base. Only declared records take part in IsDerivedFrom as bases.
    template <class T> static CRuntimeClass* Of() {
        static_assert(std::is_base_of_v<CObject, T>, "run-time classes derive from CObject");
        if constexpr (std::is_same_v<typename T::ThisRuntimeClass, T>) {
            return T::GetThisClass();
        } else {
            static const std::string name = Demangle(typeid(T).name());
            static CRuntimeClass record{name.c_str(), Creator<T>(), T::GetThisClass()};
            return &record;
        }
    }

private:
    template <class T> static CObject* (*Creator())() {
        if constexpr (!std::is_abstract_v<T> && std::is_default_constructible_v<T>)
            return []() -> CObject* { return new T; };
        else
            return nullptr;
    }
    static std::string Demangle(const char* mangled);
};

// A plain pointer, as callers keep it in non-const members.
#define RUNTIME_CLASS(class_name) (CRuntimeClass::Of<class_name>())

#define IMPLEMENT_RUNTIME_RECORD(class_name, base_class_name, creator)                                                 \
    CRuntimeClass* class_name::GetThisClass() {                                                                        \
        static CRuntimeClass record{#class_name, creator, RUNTIME_CLASS(base_class_name)};                             \
        return &record;                                                                                                \
    }                                                                                                                  \
    CRuntimeClass* class_name::GetRuntimeClass() const { return GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) IMPLEMENT_RUNTIME_RECORD(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                               \
    CObject* class_name::CreateObject() { return new class_name; }                                                     \
    IMPLEMENT_RUNTIME_RECORD(class_name, base_class_name, &class_name::CreateObject)
