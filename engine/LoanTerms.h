#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

using Date = std::chrono::year_month_day;

// The eight payment frequencies; the value is the list position and what is stored.
enum class PaymentFrequency {
    Weekly = 0,
    BiWeekly = 1,
    Monthly = 2,
    SemiMonthly = 3,
    BiMonthly = 4,
    Quarterly = 5,
    SemiAnnually = 6,
    Annually = 7,
};

// The term's unit; the value is the list position and what is stored.
enum class TermUnit { Months = 0, Years = 1 };

// A frequency from its list position; none outside 0..7 (no selection).
std::optional<PaymentFrequency> frequencyAt(int position);
// A term unit from its list position: 0 months, any other value years.
TermUnit termUnitAt(int position);

// Captions in list order.
inline constexpr std::array<std::string_view, 8> kFrequencyTexts = {
    "Weekly",
    "Bi-Weekly (Ever other Week)",
    "Monthly",
    "Semi-Monthly(Twice a month)",
    "Bi-Monthly(Every Two Months)",
    "Quarterly",
    "Semi-Annually",
    "Anually",
};

inline constexpr std::array<std::string_view, 2> kTermTypeTexts = {"Months", "Years"};

// A loan's inputs after validation, as plain values.
struct LoanTerms {
    std::string description;
    std::optional<double> loanAmount;  // empty: the run derives it from the payment
    double paymentAmount = 0.0;        // read only when loanAmount is empty
    double annualRatePercent = 0.0;    // 6 means 6 % a year
    int term = 0;                      // whole term, fits 16 bits after validation
    TermUnit termUnit = TermUnit::Months;
    std::optional<PaymentFrequency> frequency;  // none: a run fails with "Division by zero"
    Date firstPaymentDate{};
};

// Payments a year; 0 for no frequency.
short periodsPerYear(std::optional<PaymentFrequency> frequency);

// Scheduled number of payments; throws EngineFailure ("Overflow") past 16 bits.
short numberOfPayments(const LoanTerms& terms);

// The level-payment annuity and its inverse, unrounded; evaluated in the fixed
// order so results match to the last bit. Throw EngineFailure on division by zero
// or a non-finite result.
double paymentForLoan(double loan, double annualFraction, int payments, int periodsPerYear);
double loanForPayment(double payment, double annualFraction, int payments, int periodsPerYear);

}  // namespace engine
