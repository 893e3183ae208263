#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

using Date = std::chrono::year_month_day;

// The eight payment frequencies, in list order (the index is what is stored).
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
    int termType = 0;                  // 0 months, any other value years
    int frequency = -1;                // 0..7 into kFrequencyTexts, -1 none
    Date firstPaymentDate{};
};

// Payments a year for a frequency index; 0 for no selection.
short periodsPerYear(int frequency);

// Scheduled number of payments; throws EngineFailure ("Overflow") past 16 bits.
short numberOfPayments(const LoanTerms& terms);

// The level-payment annuity and its inverse, unrounded; evaluated in the fixed
// order so results match to the last bit. Throw EngineFailure on division by zero
// or a non-finite result.
double paymentForLoan(double loan, double annualFraction, int payments, int periodsPerYear);
double loanForPayment(double payment, double annualFraction, int payments, int periodsPerYear);

}  // namespace engine
