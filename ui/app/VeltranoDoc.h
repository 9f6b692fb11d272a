#pragma once

#include "platform/gui/frame/Document.h"

// The program keeps nothing in documents: every setting lives in the settings file.
class CVeltranoDoc : public CDocument {
    DECLARE_DYNCREATE(CVeltranoDoc)
public:
    CVeltranoDoc() = default;
    ~CVeltranoDoc() override;
};
