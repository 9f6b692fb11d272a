#include "ResourceException.h"

void AfxThrowResourceException() { throw CResourceException(); }
