#pragma once

#include "NumberedError.h"
#include "LoanTerms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine {

inline std::ostream& operator<<(std::ostream& out, const NumberedError& error)
{
    return out << error.number << " - " << error.description;
}

}  // namespace engine

namespace enginetest {

using engine::Date;

using engine::PaymentFrequency;
using engine::TermUnit;
using enum engine::PaymentFrequency;
using enum engine::TermUnit;

inline Date ymd(int y, unsigned m, unsigned d)
{
    return Date{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
}

inline std::string dateText(const Date& date)
{
    return std::to_string(int(date.year())) + '-' + std::to_string(unsigned(date.month())) + '-' +
           std::to_string(unsigned(date.day()));
}

// Whole date sequences: one failure naming the first index that differs.
inline ::testing::AssertionResult sameDates(const std::vector<Date>& expected, const std::vector<Date>& found)
{
    for (std::size_t i = 0; i < expected.size() && i < found.size(); ++i)
        if (expected[i] != found[i])
            return ::testing::AssertionFailure()
                   << "index " << i << ": expected " << dateText(expected[i]) << ", found " << dateText(found[i]);
    if (expected.size() != found.size())
        return ::testing::AssertionFailure() << "expected " << expected.size() << " dates, found " << found.size();
    return ::testing::AssertionSuccess();
}

}  // namespace enginetest
