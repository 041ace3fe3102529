#include "reports/SpecialistRegister.h"

namespace orbisk {

std::vector<std::string> SpecialistRegister::Families() const {
    return config_.SpecialistFamilies();
}

bool SpecialistRegister::IsProgramSection(std::string_view family) {
    return Config::IsProgramSection(family) || family.starts_with(config::kViewSection) ||
           family.starts_with(config::kConfigSection);
}

bool SpecialistRegister::Exists(std::string_view family) const {
    return !family.empty() && !IsProgramSection(family) && config_.Ini().SectionExists(family);
}

Specialist SpecialistRegister::Read(std::string_view family) const {
    Specialist s;
    s.family = std::string(family);
    if (family.empty() || IsProgramSection(family)) return s;
    const IniFile& ini = config_.Ini();
    s.name = ini.ReadString(family, specialist_keys::kName, "");
    s.father = ini.ReadString(family, specialist_keys::kFather, "");
    s.work = ini.ReadString(family, specialist_keys::kWork, "");
    s.number = ini.ReadString(family, specialist_keys::kNumber, "");
    s.issued = ini.ReadString(family, specialist_keys::kIssued, "");
    s.validity = ini.ReadString(family, specialist_keys::kValidity, "");
    return s;
}

bool SpecialistRegister::Save(const Specialist& s) {
    if (s.family.empty() || IsProgramSection(s.family)) return false;
    IniFile& ini = config_.Ini();
    return ini.WriteString(s.family, specialist_keys::kName, s.name) &&
           ini.WriteString(s.family, specialist_keys::kFather, s.father) &&
           ini.WriteString(s.family, specialist_keys::kWork, s.work) &&
           ini.WriteString(s.family, specialist_keys::kNumber, s.number) &&
           ini.WriteString(s.family, specialist_keys::kIssued, s.issued) &&
           ini.WriteString(s.family, specialist_keys::kValidity, s.validity);
}

bool SpecialistRegister::Delete(std::string_view family) {
    if (family.empty()) return true;
    if (IsProgramSection(family)) return false;
    return config_.Ini().EraseSection(family);
}

Specialist RegisterSpecialist::ChooseSpecialist() {
    return register_.Read(family_);
}

}  // namespace orbisk
