#pragma once

#include "Money.h"

#include <QString>

#include <optional>

// What a number box holds, read once from its text: the one place a box's
// text becomes a value (readEntry) and a value becomes a box's text
// (entryText), in the user's regional settings.

// The kinds of number a box holds.
enum class NumberKind {
    Amount,  // money: the currency symbol and grouping accepted, at most kLargestAmount
    Rate,    // percent a year
    Count,   // a term or a number of payments, whole once rounded
};

// The largest amount typed, stored and computed to the cent.
inline constexpr double kLargestAmount = engine::kLargestAmount;

struct NumberEntry {
    enum class State {
        Blank,
        Number,
        NotANumber,  // `hint`: how the region writes what the text misplaced, or empty
        TooLarge,    // an amount above kLargestAmount
    };
    State state = State::Blank;
    double value = 0.0;  // State::Number only
    QString hint;        // " Your regional settings write the decimal separator as ",", as in 6,5."

    bool isBlank() const { return state == State::Blank; }
    std::optional<double> number() const
    {
        return state == State::Number ? std::optional(value) : std::nullopt;
    }
    static NumberEntry of(double value) { return {State::Number, value, {}}; }
};

NumberEntry readEntry(NumberKind kind, const QString& text);

// The text a box shows for a value: amounts as currency text, rates as a
// plain number, counts as a whole number; each reads back to the value.
QString entryText(NumberKind kind, double value);

// The refusal of an entry that is no number or too large, in the words of
// its box: "Interest rate must be numeric." and the hint, or "The Loan
// Amount cannot be more than $9,999,999,999,999.99, the largest amount
// this program keeps." `numeric` is the box's own "must be numeric" message.
QString entryRefusal(const NumberEntry& entry, const QString& numeric, const QString& boxName);
