#include "Money.h"
