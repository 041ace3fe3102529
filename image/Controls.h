#pragma once
// The controls of the pages by their names, the load groups, and the choices of the pages: what
// the display model, the page tables and the windows all name.
#include <optional>
#include <string_view>

namespace orbisk {

// The text controls of the identification, long-term and settings pages.
enum class Ctl : int {
    eMarka,
    eNumber,
    eYear,
    eProd,
    eOwner,
    eSrok,
    eGroup,
    eEnter,
    eSumGruz,
    eGruz1,
    eGruz2,
    eGruz3,
    eLebNameK,
    eLebName1,
    eLebName2,
    eLebName3,
    eRegType,
    eRegNum,
    eRegProd,
    eRegYear,
    eRegSetupName,
    eRegSetup,
    eChangePassport,
    eChangeRTC,
    eProgramChange,
    eDateCheck,
    eStartDateCheck,
    eVersion,
    eLeb1Cnt,
    eLeb2Cnt,
    eLeb3Cnt,
    eStop1,
    eStop,
    eStopMax,
    eWarning,
    eCycleStart,
    eCycleEnd,
    eCycleTime,
    eEnable,
    eAvrScale,
    eMassScale,
    eStopSens,
    eStopPerekos,
    eCtrlRele3,
    eCtrlRele4,
    eWorkMode,
    eCtrlRele3_Off,
    eCtrlRele4_Off,
    eExtRele1,
    eExtRele2,
    eExtRele3,
    eExtRele4,
    dtpReportDate,
    Count
};
constexpr int kControlCount = static_cast<int>(Ctl::Count);

std::string_view ControlName(Ctl c);
std::optional<Ctl> ControlByName(std::string_view name);

constexpr int kGroups = 4;

// The control of a group's display name (0 crane, 1..3 winches), and the group of such a
// control (-1 for any other control).
Ctl ChannelNameControl(int group);
int ChannelNameGroup(Ctl control);

// Filters of the work-cycle list (rgLast items).
enum class CycleFilter : int { ByDate = 0, LimiterTrips = 1, SwitchEvents = 2, All = 3 };

struct Choices {
    int rgRele3 = -1;
    int rgRele4 = -1;
    int rgExtPult = -1;
    int rgExtDAC = -1;
    int rgExtReleAlg = -1;
    bool chbSensWorkMode = false;
    int rgLast = 3;
    int rgStep = 1;
};

}  // namespace orbisk
