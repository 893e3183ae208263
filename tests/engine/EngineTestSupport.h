#pragma once

#include "EngineError.h"
#include "LoanTerms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <sstream>
#include <ostream>
#include <string>
#include <vector>

namespace engine {

inline std::ostream& operator<<(std::ostream& out, const EngineError& error)
{
    return out << error.number << " - " << error.description;
}

}  // namespace engine

namespace enginetest {

using engine::Date;

// Readable dates in failure messages.
inline std::string dateText(const Date& date)
{
    return std::to_string(int(date.year())) + '-' + std::to_string(unsigned(date.month())) + '-' +
           std::to_string(unsigned(date.day()));
}

inline Date ymd(int y, unsigned m, unsigned d)
{
    return Date{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
}

// Whole date sequences: one failure naming the first index that differs.
inline ::testing::AssertionResult sameDates(const std::vector<Date>& expected,
                                            const std::vector<Date>& found)
{
    const auto common = std::min(expected.size(), found.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (expected[i] != found[i]) {
            std::ostringstream text;
            text << "index " << i << ": expected " << dateText(expected[i]) << ", found " << dateText(found[i]);
            return ::testing::AssertionFailure() << text.str();
        }
    }
    if (expected.size() != found.size())
        return ::testing::AssertionFailure()
               << "expected " << expected.size() << " dates, found " << found.size();
    return ::testing::AssertionSuccess();
}

// Test names from free text: letters and digits only.
inline std::string testName(std::string text)
{
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return text;
}

}  // namespace enginetest
