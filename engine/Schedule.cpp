#include "Schedule.h"
