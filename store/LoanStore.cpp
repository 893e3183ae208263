#include "LoanStore.h"
