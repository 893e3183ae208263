#include "LocaleText.h"
