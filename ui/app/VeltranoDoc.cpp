#include "VeltranoDoc.h"
#include "platform/gui/base/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CVeltranoDoc, CDocument)

CVeltranoDoc::~CVeltranoDoc() = default;
