#pragma once

#include "Gdi.h"

#include "platform/os/Object.h"

// Owner of one drawing object handle. Deleting the wrapper deletes the object it created or attached; one
// taken with FromHandle is a lasting wrapper that owns nothing.
class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; } // NOLINT: the framework converts implicitly
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    static CGdiObject* FromHandle(HGDIOBJ object);
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);

    int GetObject(int size, void* buffer) const;
    UINT GetObjectType() const;
};
