#pragma once

#include "NumberedError.h"

#include <QString>

// A store failure as the user sees it: "number - description".
struct StoreError {
    int number = 0;
    QString description;

    QString text() const { return QString::fromStdString(engine::numberedText(number, description.toStdString())); }
};

// The numbers of the store's own failures (SQLite's codes are passed on as they come).
namespace StoreErrorNumber {
using namespace engine::ErrorNumber;
}  // namespace StoreErrorNumber
