#include "archive/Verdict.h"

#include "image/Decoding.h"

namespace orbisk {

std::optional<int> ParsePassportGroup(std::string_view text) {
    const std::string folded = FoldForIdentity(text);
    std::string_view rest = folded;
    if (rest.starts_with("a")) {
        rest.remove_prefix(1);
    } else if (rest.starts_with("\xD0\xB0")) {  // Cyrillic а, as typed on a Russian keyboard
        rest.remove_prefix(2);
    } else {
        return std::nullopt;
    }
    if (rest.size() != 1 || rest[0] < '1' || rest[0] > '8') return std::nullopt;
    return rest[0] - '0';
}

std::optional<double> ServiceLifeShare(double days, int serviceLifeYears) {
    if (serviceLifeYears <= 0) return std::nullopt;
    return days / (serviceLifeYears * 365.25);
}

CheckVerdict JudgeCheck(const Check& check, double now) {
    CheckVerdict v;
    v.passportGroup = ParsePassportGroup(check.passportGroup);
    v.exceedsPassport = v.passportGroup && check.groups[0].group > *v.passportGroup;
    v.lifeShare = ServiceLifeShare(check.groups[0].days, check.serviceLife);
    v.readingInFuture = check.readingTime > now;
    v.readingBeforeInstallation = check.readingTime < check.installDay;
    return v;
}

std::optional<Reserve> ReserveOf(const std::vector<Check>& newestFirst) {
    if (newestFirst.empty()) return std::nullopt;
    const Check& last = newestFirst.front();
    const auto passport = ParsePassportGroup(last.passportGroup);
    if (!passport) return std::nullopt;

    Reserve r;
    r.loadClass = last.groups[0].loadClass;
    // The crane's group is its load class plus its use class less two, so the passport allows use
    // classes up to this one at the latest load; from U9 on the group is A8 whatever the load.
    const int allowed = *passport - r.loadClass + 2;
    const long long cycles = last.groups[0].cycles;
    if (allowed < 0) {
        r.cyclesLeft = 0;
    } else if (allowed < static_cast<int>(kCraneUseBounds.size()) && *passport < 8) {
        r.allowedUseClass = allowed;
        // A use class counts the cycles of the whole service life, so its upper bound is what
        // the crane may lift in all, less what it has lifted.
        const auto bound = static_cast<long long>(kCraneUseBounds[allowed]);
        r.cyclesLeft = bound > cycles ? bound - cycles : 0;
    } else {
        // A8 is the highest group: every use class fits it.
        r.allowedUseClass = static_cast<int>(kCraneUseBounds.size());
    }

    if (newestFirst.size() >= 2) {
        const Check& before = newestFirst[1];
        const double days = last.readingTime - before.readingTime;
        const long long more = cycles - before.groups[0].cycles;
        // A replaced recorder starts counting anew: no rate from that step.
        if (days > 0 && more >= 0) r.ratePerDay = static_cast<double>(more) / days;
    }
    if (r.ratePerDay && *r.ratePerDay > 0 && r.cyclesLeft && *r.cyclesLeft > 0) {
        r.reachedOn = last.readingTime + static_cast<double>(*r.cyclesLeft) / *r.ratePerDay;
    }
    return r;
}

}  // namespace orbisk
