#pragma once
// The identification page's fields, one row each: the control, where its value lies in the
// identification block, how wide the field is and how the value is stored, and how the edit
// filters typed keys. Decoding, the page and the assembly of the block written to the reader all
// read this one table.
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

struct IdentificationField {
    Ctl control;
    std::uint16_t address;
    int width;  // bytes in the image
    StoredAs storedAs;
    KeyFilter filter;
    int typedDigits;  // longest number typed into a digits edit; texts are as long as their field
};

// In the order the block is assembled, which is the order of its messages.
inline constexpr std::array<IdentificationField, 22> kIdentificationFields = {{
    {Ctl::eRegType, addr::RecorderType, width::RecorderType, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eRegNum, addr::RecorderSerial, width::Serial, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eRegProd, addr::RecorderMaker, width::Maker, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eRegSetup, addr::InstallDay, 4, StoredAs::DayNumber, KeyFilter::None, 0},
    {Ctl::eRegYear, addr::RecorderYear, 2, StoredAs::Int16, KeyFilter::Digits, 4},
    {Ctl::eRegSetupName, addr::Installer, width::Maker, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eMarka, addr::CraneType, width::CraneType, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eNumber, addr::CraneSerial, width::Serial, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eYear, addr::CraneYear, 2, StoredAs::Int16, KeyFilter::Digits, 4},
    {Ctl::eProd, addr::CraneMaker, width::Maker, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eOwner, addr::Owner, width::Owner, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eSrok, addr::ServiceLife, 1, StoredAs::Int8, KeyFilter::Digits, 2},
    {Ctl::eGroup, addr::ClassGroup, width::ClassGroup, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eEnter, addr::Commissioning, width::Commissioning, StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eSumGruz, addr::Capacities, 4, StoredAs::Float, KeyFilter::Capacity, 0},
    {Ctl::eGruz1, addr::Capacities + 4, 4, StoredAs::Float, KeyFilter::Capacity, 0},
    {Ctl::eGruz2, addr::Capacities + 8, 4, StoredAs::Float, KeyFilter::Capacity, 0},
    {Ctl::eGruz3, addr::Capacities + 12, 4, StoredAs::Float, KeyFilter::Capacity, 0},
    {Ctl::eLebNameK, addr::DisplayNames, addr::DisplayNameWidth, StoredAs::Text, KeyFilter::None,
     0},
    {Ctl::eLebName1, addr::DisplayNames + addr::DisplayNameWidth, addr::DisplayNameWidth,
     StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eLebName2, addr::DisplayNames + 2 * addr::DisplayNameWidth, addr::DisplayNameWidth,
     StoredAs::Text, KeyFilter::None, 0},
    {Ctl::eLebName3, addr::DisplayNames + 3 * addr::DisplayNameWidth, addr::DisplayNameWidth,
     StoredAs::Text, KeyFilter::None, 0},
}};

const IdentificationField* FindIdentificationField(Ctl control);

// The filter of an edit's typed keys; None for every control without a row.
KeyFilter KeyFilterOf(Ctl control);

// The longest text an edit holds: a text field's width, a number's typed digits; 0 for no limit.
int MaxTextLength(Ctl control);

}  // namespace orbisk
