#include "ExtraPayments.h"
