#include "edit/SettingsPageRules.h"

#include <algorithm>

#include "edit/TextNumbers.h"

namespace orbisk {

namespace {

constexpr char kRelayOff[] = "ВЫКЛЮЧЕНО(не используется)";

}  // namespace

std::array<std::string, 4> ExtRelayTexts(int algorithmIndex) {
    if (algorithmIndex != 1 && algorithmIndex != 2) {
        return {kRelayOff, kRelayOff, kRelayOff, kRelayOff};
    }
    const std::string comparison = algorithmIndex == 1 ? " > Порога" : " < Порога";
    std::array<std::string, 4> texts;
    for (int winch = 1; winch <= 3; ++winch) {
        texts[winch - 1] =
            "ВКЛЮЧЕНО,если нагрузка на Лебедке №" + std::to_string(winch) + comparison;
    }
    texts[3] = kRelayOff;
    return texts;
}

std::optional<EditColor> IndicatorColor(Ctl control, std::string_view text) {
    EditColor active;
    switch (control) {
        case Ctl::eStopSens:
        case Ctl::eStopPerekos:
        case Ctl::eCtrlRele3:
        case Ctl::eCtrlRele4:
            active = EditColor::Green;
            break;
        case Ctl::eCtrlRele3_Off:
        case Ctl::eCtrlRele4_Off:
            active = EditColor::Red;
            break;
        default:
            return std::nullopt;
    }
    const auto value = IntegerText(text);
    if (!value) return std::nullopt;
    return *value != 0 ? active : EditColor::ButtonFace;
}

std::optional<bool> ThresholdLabelEnabled(std::string_view text) {
    const auto value = IntegerText(text);
    if (!value) return std::nullopt;
    return *value != 0;
}

std::optional<bool> RelayChoiceEnabled(std::string_view onText, std::string_view offText) {
    const auto on = IntegerText(onText);
    const auto off = IntegerText(offText);
    if (!on || !off) return std::nullopt;
    return *on != 0 || *off != 0;
}

std::vector<const SettingField*> FieldsOnTab(SettingsTab tab) {
    std::vector<const SettingField*> fields;
    for (const SettingField& f : kSettingFields) {
        if (f.tab == tab) fields.push_back(&f);
    }
    std::sort(fields.begin(), fields.end(),
              [](const SettingField* a, const SettingField* b) { return a->address < b->address; });
    return fields;
}

}  // namespace orbisk
