#pragma once

// Root of the framework's object classes: only its virtual destructor matters to this program.
class CObject {
public:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;
};
