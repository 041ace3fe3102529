#pragma once
// The verdict on a crane's use over its checks: the actual group against the group of its
// passport, the share of the normative service life used, and the reserve left before the crane
// outgrows its passport.
#include <optional>
#include <string_view>
#include <vector>

#include "archive/Check.h"

namespace orbisk {

// The classification group of a passport text "A1".."A8" (blanks around, either case, the letter
// Latin or Cyrillic); nothing for any other text.
std::optional<int> ParsePassportGroup(std::string_view text);

// Days in service as a share of the normative service life; nothing without a service life.
std::optional<double> ServiceLifeShare(double days, int serviceLifeYears);

struct CheckVerdict {
    std::optional<int> passportGroup;  // nothing: the passport text does not read as a group
    bool exceedsPassport = false;      // the crane's actual group above the passport's
    std::optional<double> lifeShare;
    bool readingInFuture = false;
    bool readingBeforeInstallation = false;
};

CheckVerdict JudgeCheck(const Check& check, double now);

struct Reserve {
    int loadClass = 1;                   // the latest check's load class
    std::optional<int> allowedUseClass;  // nothing: no use class fits the passport at that load
    // Cycles left to the upper bound of the allowed class; nothing when the class has no bound.
    std::optional<long long> cyclesLeft;
    std::optional<double> ratePerDay;  // cycles per day between the last two checks
    std::optional<double> reachedOn;   // date-time value at that rate
};

// The reserve from the latest check (checks newest first); nothing when the passport group of
// the latest check does not read or there is no check.
std::optional<Reserve> ReserveOf(const std::vector<Check>& newestFirst);

}  // namespace orbisk
