#pragma once

// The run-time class record lives with CObject, below the window layer.
#include "platform/os/RuntimeClass.h"
