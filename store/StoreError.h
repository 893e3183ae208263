#pragma once

#include <QString>

// A store failure as the user sees it: "number - description".
struct StoreError {
    int number = 0;
    QString description;

    QString text() const { return QString::number(number) + QStringLiteral(" - ") + description; }
};
