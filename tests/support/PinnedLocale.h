#pragma once

#include <QLocale>

// Regional settings pinned for one case; United States ones come back after.
class PinnedLocale {
public:
    explicit PinnedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~PinnedLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
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
