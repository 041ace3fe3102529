#pragma once
// The steps of the refresh sequence that read the image into the display model.
#include <array>

#include "base/Clock.h"
#include "base/Prompter.h"
#include "image/DisplayModel.h"
#include "image/RecorderImage.h"

namespace orbisk {

// Clears the bins below the work-cycle start condition and the spectra of winches without
// sensors; a crane with only winch 1, of the crane's capacity, takes the crane's figures for it.
void BalanceSpectrum(RecorderImage& image);

// The change line of the ChangeRecord at the address, and whether its time is valid.
std::string ChangeLine(const RecorderImage& image, std::uint16_t recordAddress);

// What the two writable blocks hold: the identification controls with the lines of the last
// changes, the settings controls, lvCalibr, lvWorkModeVal and the sensor totals. False when an
// installation date cannot be shown (its control is then empty); no message.
bool FillPassportsAndSettings(const RecorderImage& image, DisplayModel& model);

// Identification and settings controls, lvCalibr, lvWorkModeVal, the sensor totals, the reading
// time and the date of the date filter. False (after the message) when a value could not be shown.
bool FillIdentificationAndSettings(const RecorderImage& image, DisplayModel& model,
                                   Prompter& prompter, const Clock& clock);

// Lower bounds of the crane's use classes U1..U9, in work cycles over the normative service life:
// a crane with fewer than the first has use class U0.
inline constexpr std::array<double, 9> kCraneUseBounds = {16000,  32000,   63000,   125000, 250000,
                                                          500000, 1000000, 2000000, 4000000};

// The four GroupStats.
bool ComputeStatistics(const RecorderImage& image, DisplayModel& model, Prompter& prompter,
                       const Clock& clock);

// The twelve rows of lvRegStat from the statistics and the long-term counters.
void FillOperatingParameters(const RecorderImage& image, DisplayModel& model);

// lvLoad and the histogram series at the step of the rgStep item (0: 1 %, 1: 10 %, 2: 25 %).
void FillLoadDistribution(const RecorderImage& image, DisplayModel& model);

// Step of an rgStep item.
int DistributionStep(int item);

// Data correction of the record in one slot: loads above 125 % set to 125 % and the mass limited
// to what the corrected crane load of the given capacity allows, written into the image. Records
// of switching on and off are left alone. True when a byte changed.
bool CorrectCycleRecord(RecorderImage& image, std::uint16_t slot, double capacity);

// The work-cycle rows for a filter, newest first. With data correction on, the listed work
// cycles are corrected in the image.
std::vector<CycleRow> BuildCycleRows(RecorderImage& image, CycleFilter filter, double filterDate,
                                     bool dataCorrection);
// The same into an existing list, whose rows and texts are reused: refilling the 1,728-row list
// then allocates next to nothing.
void BuildCycleRows(RecorderImage& image, CycleFilter filter, double filterDate,
                    bool dataCorrection, std::vector<CycleRow>& rows);

// "Кадр №" of a row as a frame offset, for opening its chart.
std::uint16_t FrameOffsetOfRow(const CycleRow& row);

}  // namespace orbisk
