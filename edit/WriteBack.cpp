#include "edit/WriteBack.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "base/DateTime.h"
#include "edit/EditTexts.h"
#include "edit/TextNumbers.h"
#include "image/IdentificationTable.h"
#include "image/Session.h"
#include "image/SettingsTable.h"
#include "link/ReaderLink.h"

namespace orbisk {

namespace {

void Zero(RecorderImage& image, std::uint16_t address, int count) {
    std::fill_n(image.Data() + address, count, std::uint8_t{0});
}

void Connect(const WriteTarget& target) {
    if (target.port.empty()) {
        target.link.ConnectReader();
    } else {
        target.link.ConnectAt(target.port);
    }
    target.prompter.Pause(200);
}

// The common part of both writes: the period guard, the reader, the assembly, the transfer of the
// region and its check. `commit` copies the assembled block into the image buffer.
WriteResult Write(Session& session, const WriteTarget& target, WriteRegion region,
                  const char* failure,
                  const std::function<std::unique_ptr<RecorderImage>()>& assemble,
                  const std::function<void(const RecorderImage&)>& commit) {
    Prompter& prompter = target.prompter;
    if (session.PeriodImage()) {
        prompter.Message(edittext::kPeriodNotWritten, MessageIcon::Warning);
        return WriteResult::PeriodImage;
    }
    Connect(target);
    if (!target.link.LptConnected() && !target.link.UsbConnected()) {
        prompter.Message(edittext::kNotConnected, MessageIcon::Information);
        return WriteResult::NotConnected;
    }
    const auto scratch = assemble();
    if (!scratch) {
        target.link.Release();
        return WriteResult::Abandoned;
    }
    commit(*scratch);
    const std::uint8_t* data = session.Image().Data() + region.address;
    if (!target.link.WriteToReader(region.address, region.count, data) ||
        !target.link.VerifyWrite(region.address, region.count, data)) {
        if (!prompter.ShuttingDown()) prompter.Message(failure, MessageIcon::Information);
        return WriteResult::Failed;
    }
    return WriteResult::Written;
}

}  // namespace

std::optional<int> ReadClampedSetting(DisplayModel& model, Ctl control, int minimum, int maximum,
                                      Prompter& prompter,
                                      const std::function<void(Ctl)>& showField) {
    auto value = IntegerText(model.Text(control));
    if (!value) return std::nullopt;
    if ((*value > maximum || *value < minimum) && showField) showField(control);
    if (*value > maximum) {
        prompter.Message(edittext::kAboveMaximum + std::to_string(maximum),
                         MessageIcon::Information);
        value = maximum;
    }
    if (*value < minimum) {
        prompter.Message(edittext::kBelowMinimum + std::to_string(minimum),
                         MessageIcon::Information);
        value = minimum;
    }
    model.Text(control) = std::to_string(*value);
    return value;
}

std::unique_ptr<RecorderImage> AssembleIdentification(const RecorderImage& image,
                                                      DisplayModel& model, Prompter& prompter) {
    auto scratch = std::make_unique<RecorderImage>(image);
    Zero(*scratch, addr::Identification, addr::IdentificationSize);
    bool errors = false;
    for (const IdentificationField& f : kIdentificationFields) {
        // The capacities of winches 2 and 3 may be left empty: they are winches the crane lacks.
        if (f.control == Ctl::eGruz2) {
            for (Ctl c : {Ctl::eGruz2, Ctl::eGruz3}) {
                if (model.Text(c).empty()) model.Text(c) = "0";
            }
        }
        const std::string& text = model.Text(f.control);
        switch (f.storedAs) {
            case StoredAs::Text:
                if (!text.empty()) scratch->SetText(f.address, f.width, text);
                break;
            case StoredAs::DayNumber: {
                const auto value = ParseDateTime(text);
                if (!value) {
                    prompter.Message(edittext::NotDateText(text), MessageIcon::Error);
                    return nullptr;
                }
                scratch->SetU32(f.address, static_cast<std::uint32_t>(
                                               static_cast<std::int32_t>(std::trunc(*value))));
                break;
            }
            case StoredAs::Int16:
            case StoredAs::Int8: {
                const NumberRule& rule = f.rule;
                auto value = IntegerText(text);
                if (!value || *value < rule.minimum || *value > rule.maximum) {
                    prompter.Message(rule.message, MessageIcon::Information);
                    value = rule.fallback;
                    errors = true;
                }
                if (f.storedAs == StoredAs::Int16) {
                    scratch->SetU16(f.address, static_cast<std::uint16_t>(*value));
                } else {
                    scratch->SetU8(f.address, static_cast<std::uint8_t>(*value));
                }
                break;
            }
            case StoredAs::Float: {
                const auto value = FloatText(text);
                if (!value) {
                    prompter.Message(f.rule.message, MessageIcon::Information);
                    return nullptr;
                }
                scratch->SetF32(f.address, *value);
                break;
            }
        }
    }
    if (errors && !prompter.Ask(edittext::kIdentificationHasErrors, QuestionButtons::OkNo)) {
        return nullptr;
    }
    return scratch;
}

std::unique_ptr<RecorderImage> AssembleSettings(const RecorderImage& image, DisplayModel& model,
                                                Prompter& prompter,
                                                const std::function<void(Ctl)>& showField) {
    auto scratch = std::make_unique<RecorderImage>(image);
    Zero(*scratch, addr::Settings, addr::SettingsSize);
    const auto notInteger = [&prompter] {
        prompter.Message(edittext::kNotAnInteger, MessageIcon::Information);
        return nullptr;
    };
    // The sensor counts come first: each winch may have only the sensors the ones before it left.
    int sensors = 0;
    bool calibrationStored = false;
    for (const SettingField& f : kSettingFields) {
        const bool count =
            f.control == Ctl::eLeb1Cnt || f.control == Ctl::eLeb2Cnt || f.control == Ctl::eLeb3Cnt;
        if (!count && !calibrationStored) {
            const std::size_t rows =
                std::min<std::size_t>(model.calibration.size(), kMaxCalibrationPairs);
            for (std::size_t k = 0; k < rows; ++k) {
                const auto at = static_cast<std::uint16_t>(addr::CalibrationPairs + 4 * k);
                scratch->SetU16(at, model.calibration[k].qo);
                scratch->SetU16(static_cast<std::uint16_t>(at + 2), model.calibration[k].qnom);
            }
            calibrationStored = true;
        }
        const int maximum = count ? f.maximum - sensors : f.maximum;
        const auto value =
            ReadClampedSetting(model, f.control, f.minimum, maximum, prompter, showField);
        if (!value) {
            if (showField) showField(f.control);
            return notInteger();
        }
        if (count) sensors += *value;
        scratch->SetU8(f.address, static_cast<std::uint8_t>(*value));
    }
    for (const SettingChoice* choice : kSettingChoices) {
        // No item chosen is stored as the index -1 is: its low byte.
        scratch->SetU8(choice->address,
                       static_cast<std::uint8_t>(ChoiceIndexOf(model.choices, *choice)));
    }
    scratch->SetU8(addr::UseModeSensor, model.choices.chbSensWorkMode ? 1 : 0);
    for (int r = 0; r < 4; ++r) {
        scratch->SetU8(static_cast<std::uint16_t>(addr::WorkModeValues + r),
                       model.workModeValues[r]);
    }
    return scratch;
}

WriteResult WriteIdentification(Session& session, const WriteTarget& target, bool withLongTerm) {
    const WriteRegion region = withLongTerm ? kLongTermRegion : kIdentificationRegion;
    return Write(
        session, target, region, edittext::kIdentificationWriteFailed,
        [&] { return AssembleIdentification(session.Image(), session.Model(), target.prompter); },
        [&](const RecorderImage& scratch) {
            std::copy_n(scratch.Data() + addr::Identification, addr::IdentificationSize,
                        session.Image().Data() + addr::Identification);
        });
}

WriteResult WriteSettings(Session& session, const WriteTarget& target) {
    return Write(
        session, target, kSettingsRegion, edittext::kSettingsWriteFailed,
        [&] {
            return AssembleSettings(session.Image(), session.Model(), target.prompter,
                                    target.showField);
        },
        [&](const RecorderImage& scratch) {
            std::copy_n(scratch.Data() + addr::Settings, addr::SettingsSize,
                        session.Image().Data() + addr::Settings);
        });
}

}  // namespace orbisk
