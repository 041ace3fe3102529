#pragma once
// The register of specialists in the configuration file: one section per specialist, named by
// the family name, with six keys of free text. Every call opens the file anew, so that the
// register is always what the file holds.
#include <string>
#include <string_view>
#include <vector>

#include "app/Config.h"
#include "reports/SpecialistProvider.h"

namespace orbisk {

namespace specialist_keys {
inline constexpr std::string_view kName = "Имя";
inline constexpr std::string_view kFather = "Отчество";
inline constexpr std::string_view kWork = "Работает";
inline constexpr std::string_view kNumber = "Удостоверение";
inline constexpr std::string_view kIssued = "Выдано";
inline constexpr std::string_view kValidity = "Срок";
}  // namespace specialist_keys

class SpecialistRegister {
public:
    explicit SpecialistRegister(Config& config) : config_(config) {}

    // Family names in file order, without the program's own sections.
    std::vector<std::string> Families() const;

    bool Exists(std::string_view family) const;

    // The particulars stored under the family name; a missing key gives an empty field, a
    // missing section a specialist with the family name alone.
    Specialist Read(std::string_view family) const;

    // Stores the six keys under the specialist's family name, in their fixed order, empty texts
    // as empty values. False when the file cannot be written or the family name cannot name a
    // section (empty, or one of the program's own sections, which would corrupt the settings).
    bool Save(const Specialist& specialist);

    // Erases the section; true also when there is none. The program's own sections are never
    // erased this way.
    bool Delete(std::string_view family);

private:
    static bool IsProgramSection(std::string_view family);
    Config& config_;
};

// The command line's specialist: the one named by family in the register, read when the
// document asks. An empty family name gives an empty specialist.
class RegisterSpecialist final : public SpecialistProvider {
public:
    RegisterSpecialist(const SpecialistRegister& reg, std::string family)
        : register_(reg), family_(std::move(family)) {}
    Specialist ChooseSpecialist() override;

private:
    const SpecialistRegister& register_;
    std::string family_;
};

}  // namespace orbisk
