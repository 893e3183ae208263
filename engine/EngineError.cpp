#include "EngineError.h"
