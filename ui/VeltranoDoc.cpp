#include "VeltranoDoc.h"
#include "platform/gui/RuntimeClass.h"

IMPLEMENT_DYNCREATE(CVeltranoDoc, CDocument)

CVeltranoDoc::~CVeltranoDoc() = default;
