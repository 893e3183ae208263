#include "frmLoan.h"
