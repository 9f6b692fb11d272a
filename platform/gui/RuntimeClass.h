#pragma once

#include "platform/os/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <string>
#include <typeinfo>

// The framework's run-time class record: a class's name and a way to make one of it, so that frames, views and
// panes can be made from a class chosen by the caller (document templates, CreateView).
struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();

    // A new object of the class; the caller owns it.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

    // The record of a class with a public default constructor.
    template <class T> static const CRuntimeClass* Of() {
        static const std::string name = Demangle(typeid(T).name());
        static const CRuntimeClass record{name.c_str(), []() -> CObject* { return new T; }};
        return &record;
    }

private:
    static std::string Demangle(const char* mangled) {
        int status = 0;
        char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
        std::string name = (status == 0 && plain) ? plain : mangled;
        std::free(plain);
        return name;
    }
};

#define RUNTIME_CLASS(class_name) (CRuntimeClass::Of<class_name>())
