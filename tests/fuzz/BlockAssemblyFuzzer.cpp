// The blocks written to the reader, assembled from any page texts: no crash, no undefined
// behaviour, nothing outside the block changed, and every value stored is what its rule makes
// of its text (a number in its bounds or its fallback, a capacity a float holds, a setting
// clamped and shown clamped on the page).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzInput.h"
#include "base/DateTime.h"
#include "edit/TextNumbers.h"
#include "edit/WriteBack.h"
#include "image/IdentificationTable.h"
#include "image/Session.h"
#include "image/SettingsTable.h"
#include "support/RecordingPrompter.h"

using namespace orbisk;
using fuzz::Require;

namespace {

// The sample as the two editing pages show it, decoded once: its page texts alone, so that each
// run copies no more than a page holds.
struct Sample {
    Sample() {
        session.OpenDataFile(ORBISK_SOURCE_DIR "/samples/current.bbd");
        const DisplayModel& decoded = session.Model();
        for (const IdentificationField& f : kIdentificationFields) {
            pages.Text(f.control) = decoded.Text(f.control);
        }
        for (const SettingField& f : kSettingFields)
            pages.Text(f.control) = decoded.Text(f.control);
        pages.choices = decoded.choices;
        pages.calibration = decoded.calibration;
        pages.workModeValues = decoded.workModeValues;
    }
    test::RecordingPrompter prompter;
    FixedClock clock{EncodeDateTime(2025, 3, 18, 12, 0)};
    Session session{prompter, clock};
    DisplayModel pages;
};

bool SameOutside(const RecorderImage& a, const RecorderImage& b, std::size_t from,
                 std::size_t count) {
    return std::equal(a.Data(), a.Data() + from, b.Data()) &&
           std::equal(a.Data() + from + count, a.Data() + RecorderImage::Size(),
                      b.Data() + from + count);
}

void Identification(const RecorderImage& image, DisplayModel model, fuzz::FuzzInput& input) {
    for (const IdentificationField& f : kIdentificationFields) {
        if (input.Byte() & 1) model.Text(f.control) = input.Text();
    }
    test::RecordingPrompter prompter(input.Byte() & 1);
    const DisplayModel typed = model;
    const auto block = AssembleIdentification(image, model, prompter);
    if (!block) return;
    Require(SameOutside(image, *block, addr::Identification, addr::IdentificationSize));
    for (const IdentificationField& f : kIdentificationFields) {
        const std::string& text = model.Text(f.control);
        switch (f.storedAs) {
            case StoredAs::Int16:
            case StoredAs::Int8: {
                const auto value = IntegerText(text);
                const bool fits = value && *value >= f.rule.minimum && *value <= f.rule.maximum;
                const int stored =
                    f.storedAs == StoredAs::Int16 ? block->U16(f.address) : block->U8(f.address);
                Require(stored == (fits ? *value : f.rule.fallback));
                break;
            }
            case StoredAs::Float: {
                const float stored = block->F32(f.address);
                Require(std::isfinite(stored) && stored == *FloatText(text));
                Require(text == typed.Text(f.control) || text == "0");
                break;
            }
            case StoredAs::DayNumber:
                Require(ParseDateTime(text).has_value());
                break;
            case StoredAs::Text:
                if (text.empty()) {
                    Require(std::all_of(block->Data() + f.address,
                                        block->Data() + f.address + f.width,
                                        [](std::uint8_t b) { return b == 0; }));
                }
                break;
        }
    }
}

void Settings(const RecorderImage& image, DisplayModel model, fuzz::FuzzInput& input) {
    for (const SettingField& f : kSettingFields) {
        if (input.Byte() & 1) model.Text(f.control) = input.Text();
    }
    for (const SettingChoice* choice : kSettingChoices) {
        ChoiceIndexOf(model.choices, *choice) = static_cast<std::int8_t>(input.Byte());
    }
    model.calibration.resize(input.Byte() % 12);
    test::RecordingPrompter prompter;
    const auto block = AssembleSettings(image, model, prompter);
    if (!block) return;
    Require(SameOutside(image, *block, addr::Settings, addr::SettingsSize));
    int sensors = 0;
    for (const SettingField& f : kSettingFields) {
        const int stored = block->U8(f.address);
        Require(model.Text(f.control) == std::to_string(stored));
        Require(stored >= f.minimum && stored <= f.maximum);
        const bool count =
            f.control == Ctl::eLeb1Cnt || f.control == Ctl::eLeb2Cnt || f.control == Ctl::eLeb3Cnt;
        if (count) sensors += stored;
    }
    Require(sensors <= kSettingFields[0].maximum);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Sample sample;
    const RecorderImage& image = sample.session.Image();
    fuzz::FuzzInput input(data, size);
    if (input.Byte() & 1) {
        Identification(image, sample.pages, input);
    } else {
        Settings(image, sample.pages, input);
    }
    return 0;
}
