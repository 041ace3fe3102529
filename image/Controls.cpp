#include "image/Controls.h"

#include <array>

namespace orbisk {
namespace {

constexpr std::array<std::string_view, kControlCount> kNames = {
    "eMarka",        "eNumber",         "eYear",           "eProd",      "eOwner",
    "eSrok",         "eGroup",          "eEnter",          "eSumGruz",   "eGruz1",
    "eGruz2",        "eGruz3",          "eLebNameK",       "eLebName1",  "eLebName2",
    "eLebName3",     "eRegType",        "eRegNum",         "eRegProd",   "eRegYear",
    "eRegSetupName", "eRegSetup",       "eChangePassport", "eChangeRTC", "eProgramChange",
    "eDateCheck",    "eStartDateCheck", "eVersion",        "eLeb1Cnt",   "eLeb2Cnt",
    "eLeb3Cnt",      "eStop1",          "eStop",           "eStopMax",   "eWarning",
    "eCycleStart",   "eCycleEnd",       "eCycleTime",      "eEnable",    "eAvrScale",
    "eMassScale",    "eStopSens",       "eStopPerekos",    "eCtrlRele3", "eCtrlRele4",
    "eWorkMode",     "eCtrlRele3_Off",  "eCtrlRele4_Off",  "eExtRele1",  "eExtRele2",
    "eExtRele3",     "eExtRele4",       "dtpReportDate"};

}  // namespace

std::string_view ControlName(Ctl c) {
    return kNames[static_cast<int>(c)];
}

std::optional<Ctl> ControlByName(std::string_view name) {
    for (int i = 0; i < kControlCount; ++i) {
        if (kNames[i] == name) return static_cast<Ctl>(i);
    }
    return std::nullopt;
}

Ctl ChannelNameControl(int group) {
    return static_cast<Ctl>(static_cast<int>(Ctl::eLebNameK) + group);
}

int ChannelNameGroup(Ctl control) {
    const int group = static_cast<int>(control) - static_cast<int>(Ctl::eLebNameK);
    return group >= 0 && group < kGroups ? group : -1;
}

}  // namespace orbisk
