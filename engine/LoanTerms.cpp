#include "LoanTerms.h"
