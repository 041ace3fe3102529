#include "image/SettingsTable.h"

namespace orbisk {

const SettingField* FindSettingField(Ctl control) {
    for (const auto& f : kSettingFields) {
        if (f.control == control) return &f;
    }
    return nullptr;
}

int& ChoiceIndexOf(Choices& choices, const SettingChoice& choice) {
    if (&choice == &kRele3Choice) return choices.rgRele3;
    if (&choice == &kRele4Choice) return choices.rgRele4;
    if (&choice == &kExtPultChoice) return choices.rgExtPult;
    if (&choice == &kExtDacChoice) return choices.rgExtDAC;
    return choices.rgExtReleAlg;
}

int ChoiceIndexOf(const Choices& choices, const SettingChoice& choice) {
    return ChoiceIndexOf(const_cast<Choices&>(choices), choice);
}

}  // namespace orbisk
