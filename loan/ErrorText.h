#pragma once

#include "NumberedError.h"

#include <QString>

// A numbered failure as the message boxes show it: "6 - Overflow".
inline QString errorText(const engine::NumberedError& error)
{
    return QString::fromStdString(error.text());
}
