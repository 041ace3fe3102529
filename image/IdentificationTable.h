#pragma once
// The identification page's fields, one row each: the control, where its value lies in the
// identification block, how wide the field is and how the value is stored, how the edit filters
// typed keys, its caption and, for a number, its rule. Decoding, the page and the assembly of the
// block written to the reader all read this one table.
#include <array>
#include <cstdint>

#include "image/Controls.h"
#include "image/RecorderImage.h"

namespace orbisk {

enum class StoredAs {
    Text,       // Windows-1251 characters, padded with zero bytes
    Int16,      // a year
    Int8,       // the service life
    Float,      // a rated capacity in tonnes
    DayNumber,  // the installation date: signed 32-bit whole days since 30.12.1899
};

// How an edit filters the keys typed into it.
enum class KeyFilter { None, Digits, Capacity };

// The messages of the numbers that do not fit their rules, each defined once.
namespace idtext {
inline constexpr char kBadRecorderYear[] =
    "Неправильно указан год изготовления регистратора параметров!";
inline constexpr char kBadCraneYear[] = "Неправильно указан год изготовления крана!";
inline constexpr char kBadServiceLife[] = "Неправильно указан нормативный срок службы крана";
inline constexpr char kBadCapacity[] = "Неправильно указана грузоподъемность!";
}  // namespace idtext

// What a number of the page accepts, what is stored instead when a whole number is outside its
// bounds, and the message that says so. A capacity that does not convert stops the write with
// its message instead; its bounds are those of a single-precision float.
struct NumberRule {
    int minimum = 0;
    int maximum = 0;
    int fallback = 0;
    const char* message = nullptr;
};

inline constexpr NumberRule kNoRule{};  // a text's or the date's
inline constexpr NumberRule kRecorderYearRule{2000, 2099, 2000, idtext::kBadRecorderYear};
inline constexpr NumberRule kCraneYearRule{1900, 2099, 2000, idtext::kBadCraneYear};
inline constexpr NumberRule kServiceLifeRule{0, 100, 20, idtext::kBadServiceLife};
inline constexpr NumberRule kCapacityRule{0, 0, 0, idtext::kBadCapacity};

// The longest capacity typed or pasted, in characters: room for every whole number a float
// holds (39 digits), so that cutting a pasted text never turns a capacity too large for the
// recorder into a smaller one it takes; it is refused whole instead.
inline constexpr int kCapacityTypedLength = 40;

// The captions the page puts beside the edits; the two passports share three of them.
namespace idcaption {
inline constexpr char kSerial[] = "Зав. номер:";
inline constexpr char kYear[] = "Год выпуска:";
inline constexpr char kMaker[] = "Изготовитель:";
}  // namespace idcaption

struct IdentificationField {
    Ctl control;
    std::uint16_t address;
    int width;  // bytes in the image
    StoredAs storedAs;
    KeyFilter filter;
    int typedDigits;  // longest number typed into a number's edit; texts are as long as their field
    const char* caption;  // beside the edit; a capacity's units after it; none for the names
    NumberRule rule;      // the numbers' alone
};

// In the order the block is assembled, which is the order of its messages.
inline constexpr std::array<IdentificationField, 22> kIdentificationFields = {{
    {Ctl::eRegType, addr::RecorderType, width::RecorderType, StoredAs::Text, KeyFilter::None, 0,
     "Тип, модификация:", kNoRule},
    {Ctl::eRegNum, addr::RecorderSerial, width::Serial, StoredAs::Text, KeyFilter::None, 0,
     idcaption::kSerial, kNoRule},
    {Ctl::eRegProd, addr::RecorderMaker, width::Maker, StoredAs::Text, KeyFilter::None, 0,
     idcaption::kMaker, kNoRule},
    {Ctl::eRegSetup, addr::InstallDay, 4, StoredAs::DayNumber, KeyFilter::None, 0,
     "Дата установки:", kNoRule},
    {Ctl::eRegYear, addr::RecorderYear, 2, StoredAs::Int16, KeyFilter::Digits, 4, idcaption::kYear,
     kRecorderYearRule},
    {Ctl::eRegSetupName, addr::Installer, width::Maker, StoredAs::Text, KeyFilter::None, 0,
     "Установщик:", kNoRule},
    {Ctl::eMarka, addr::CraneType, width::CraneType, StoredAs::Text, KeyFilter::None, 0,
     "Тип крана:", kNoRule},
    {Ctl::eNumber, addr::CraneSerial, width::Serial, StoredAs::Text, KeyFilter::None, 0,
     idcaption::kSerial, kNoRule},
    {Ctl::eYear, addr::CraneYear, 2, StoredAs::Int16, KeyFilter::Digits, 4, idcaption::kYear,
     kCraneYearRule},
    {Ctl::eProd, addr::CraneMaker, width::Maker, StoredAs::Text, KeyFilter::None, 0,
     idcaption::kMaker, kNoRule},
    {Ctl::eOwner, addr::Owner, width::Owner, StoredAs::Text, KeyFilter::None, 0,
     "Владелец:", kNoRule},
    {Ctl::eSrok, addr::ServiceLife, 1, StoredAs::Int8, KeyFilter::Digits, 2,
     "Нормативный срок службы, лет:", kServiceLifeRule},
    {Ctl::eGroup, addr::ClassGroup, width::ClassGroup, StoredAs::Text, KeyFilter::None, 0,
     "Группа классификации:", kNoRule},
    {Ctl::eEnter, addr::Commissioning, width::Commissioning, StoredAs::Text, KeyFilter::None, 0,
     "Дата ввода в эксплуатацию:", kNoRule},
    {Ctl::eSumGruz, addr::Capacities, 4, StoredAs::Float, KeyFilter::Capacity, kCapacityTypedLength,
     "т, [L-00]", kCapacityRule},
    {Ctl::eGruz1, addr::Capacities + 4, 4, StoredAs::Float, KeyFilter::Capacity,
     kCapacityTypedLength, "т, [L-01]", kCapacityRule},
    {Ctl::eGruz2, addr::Capacities + 8, 4, StoredAs::Float, KeyFilter::Capacity,
     kCapacityTypedLength, "т, [L-02]", kCapacityRule},
    {Ctl::eGruz3, addr::Capacities + 12, 4, StoredAs::Float, KeyFilter::Capacity,
     kCapacityTypedLength, "т, [L-03]", kCapacityRule},
    {Ctl::eLebNameK, addr::DisplayNames, addr::DisplayNameWidth, StoredAs::Text, KeyFilter::None, 0,
     nullptr, kNoRule},
    {Ctl::eLebName1, addr::DisplayNames + addr::DisplayNameWidth, addr::DisplayNameWidth,
     StoredAs::Text, KeyFilter::None, 0, nullptr, kNoRule},
    {Ctl::eLebName2, addr::DisplayNames + 2 * addr::DisplayNameWidth, addr::DisplayNameWidth,
     StoredAs::Text, KeyFilter::None, 0, nullptr, kNoRule},
    {Ctl::eLebName3, addr::DisplayNames + 3 * addr::DisplayNameWidth, addr::DisplayNameWidth,
     StoredAs::Text, KeyFilter::None, 0, nullptr, kNoRule},
}};

const IdentificationField* FindIdentificationField(Ctl control);

// The caption the page shows with the control's edit.
const char* IdentificationCaption(Ctl control);

// The filter of an edit's typed keys; None for every control without a row.
KeyFilter KeyFilterOf(Ctl control);

// The longest text an edit holds: a text field's width, a number's typed digits; 0 for no limit.
int MaxTextLength(Ctl control);

}  // namespace orbisk
