#pragma once
// The current local date and time, as a date-time value: days since 30 December 1899 with the
// time of day as the fraction. Behind an interface so that tests and the command line can fix it.

namespace orbisk {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double Now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
public:
    double Now() const override;
};

// A fixed instant, for tests and the command line's --now.
class FixedClock final : public Clock {
public:
    explicit FixedClock(double value) : value_(value) {}
    double Now() const override { return value_; }
    void Set(double value) { value_ = value; }

private:
    double value_;
};

}  // namespace orbisk
