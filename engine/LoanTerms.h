#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

using Date = std::chrono::year_month_day;

// The payment frequencies; the value is the list position and what is stored.
enum class PaymentFrequency {
    Weekly = 0,
    BiWeekly = 1,
    Monthly = 2,
    SemiMonthly = 3,
    BiMonthly = 4,
    Quarterly = 5,
    SemiAnnually = 6,
    Annually = 7,
    // Half (a quarter of) the monthly payment of the same loan, every 14 (7)
    // days until the balance is cleared.
    AcceleratedBiWeekly = 8,
    AcceleratedWeekly = 9,
};

// How often interest is compounded; the value is the list position and what is stored.
enum class Compounding {
    AsPayments = 0,  // once a payment period
    Annually,
    SemiAnnually,
    Quarterly,
    BiMonthly,
    Monthly,
    SemiMonthly,
    BiWeekly,
    Weekly,
    Daily,  // 365 a year
    Continuously,
};

// The term's unit; the value is the list position and what is stored.
enum class TermUnit { Months = 0, Years = 1 };

// A frequency from its list position; none outside 0..9 (no selection).
std::optional<PaymentFrequency> frequencyAt(int position);
// A compounding from its list position; none outside 0..10.
std::optional<Compounding> compoundingAt(int position);
// A term unit from its list position: 0 months, any other value years.
TermUnit termUnitAt(int position);

// Captions in list order.
inline constexpr std::array<std::string_view, 10> kFrequencyTexts = {
    "Weekly",
    "Bi-Weekly (Ever other Week)",
    "Monthly",
    "Semi-Monthly(Twice a month)",
    "Bi-Monthly(Every Two Months)",
    "Quarterly",
    "Semi-Annually",
    "Anually",
    "Accelerated Bi-Weekly",
    "Accelerated Weekly",
};

inline constexpr std::array<std::string_view, 11> kCompoundingTexts = {
    "As payments", "Annually", "Semi-annually", "Quarterly", "Bi-monthly", "Monthly",
    "Semi-monthly", "Bi-weekly", "Weekly", "Daily", "Continuously",
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
    Compounding compounding = Compounding::AsPayments;
    // Payments 1..k pay their interest only; from k + 1 the level payment of
    // the balance over the n - k payments left. 0: none; at most n - 1.
    int interestOnlyPayments = 0;
    // Payment b pays its interest and the whole balance, and the loan ends
    // there. 0: none; at most n - 1.
    int balloonAfter = 0;
};

// Payments a year; 0 for no frequency.
short periodsPerYear(std::optional<PaymentFrequency> frequency);

// 2 (4) for the accelerated bi-weekly (weekly) payment, the part of a
// monthly payment it is; 0 for every other frequency.
int accelerationOf(std::optional<PaymentFrequency> frequency);

// The whole term in months; throws EngineFailure ("Overflow") past 16 bits.
short termMonths(const LoanTerms& terms);

// Compoundings a year: as payments the payments a year, continuously 0.
int compoundingsPerYear(Compounding compounding, int periodsPerYear);

// The rate of one payment period, unrounded, for an annual rate j (a
// fraction) compounded m times a year and q payments a year:
// (1 + j/m)^(m/q) - 1, continuously e^(j/q) - 1. As payments, or m = q, it
// is j/q to the last bit. Throws EngineFailure when q is 0.
double periodicRate(double annualFraction, Compounding compounding, int periodsPerYear);
// Its inverse: the annual fraction whose periodic rate is `rate`.
double annualRateOf(double rate, Compounding compounding, int periodsPerYear);

// Scheduled number of payments; throws EngineFailure ("Overflow") past 16 bits.
// The accelerated frequencies count as bi-weekly and weekly do: the payments
// of the term at that rhythm, which the loan itself never reaches.
short numberOfPayments(const LoanTerms& terms);

// The level-payment annuity at a periodic rate and its inverse, unrounded;
// evaluated in the fixed order so results match to the last bit. A rate that
// rounds to 0 at 8 decimals is a 0 % loan. Throw EngineFailure on division by
// zero or a non-finite result.
double paymentForLoan(double loan, double periodicRate, int payments);
double loanForPayment(double payment, double periodicRate, int payments);

}  // namespace engine
