#include "PaymentCalendar.h"
