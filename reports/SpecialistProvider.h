#pragma once
// The specialist who processed the recorder's data, as the specialist section of every document
// names him. The desktop program asks the user in the register dialog; the command line reads
// the register by family name; tests hand in a fixed person. The section asks once per document
// and uses whatever comes back, saved in the register or not.
#include <string>

namespace orbisk {

struct Specialist {
    std::string family;    // cbFamily
    std::string name;      // eName
    std::string father;    // eFather
    std::string work;      // eWork
    std::string number;    // eNum, the certificate number
    std::string issued;    // eDate, date and place of issue of the certificate
    std::string validity;  // eSrok, validity of the certificate

    bool operator==(const Specialist&) const = default;
};

class SpecialistProvider {
public:
    virtual ~SpecialistProvider() = default;
    // Called while a document is built; may show a modal dialog. An exception ends the document
    // being built, which is then shown as far as it got.
    virtual Specialist ChooseSpecialist() = 0;
};

// Always the same person (an empty one by default).
class FixedSpecialist final : public SpecialistProvider {
public:
    FixedSpecialist() = default;
    explicit FixedSpecialist(Specialist specialist) : specialist_(std::move(specialist)) {}
    Specialist ChooseSpecialist() override { return specialist_; }

private:
    Specialist specialist_;
};

}  // namespace orbisk
