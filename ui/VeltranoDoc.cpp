#include "platform/gui/RuntimeClass.h"
#include "VeltranoDoc.h"

IMPLEMENT_DYNCREATE(CVeltranoDoc, CDocument)

CVeltranoDoc::~CVeltranoDoc() = default;
