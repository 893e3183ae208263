#include "ValidateLoan.h"
