#pragma once

#include <QLocale>

// The regional settings tests expect their texts in: United States ones.
// Runs under a real LC_ALL still see it, as the program itself would under
// an American desktop; what depends on the C library's locale does not.
inline void pinUnitedStates()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Regional settings pinned for one case; United States ones come back after.
class PinnedLocale {
public:
    explicit PinnedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~PinnedLocale() { pinUnitedStates(); }
    PinnedLocale(const PinnedLocale&) = delete;
    PinnedLocale& operator=(const PinnedLocale&) = delete;
};

// The five regional settings the program is tried under.
struct RegionalSetting {
    const char* name;
    QLocale locale;
};
inline const RegionalSetting kRegionalSettings[] = {
    {"United States", QLocale(QLocale::English, QLocale::UnitedStates)},
    {"British", QLocale(QLocale::English, QLocale::UnitedKingdom)},
    {"French", QLocale(QLocale::French, QLocale::France)},
    {"German", QLocale(QLocale::German, QLocale::Germany)},
    {"Japanese", QLocale(QLocale::Japanese, QLocale::Japan)},
};
