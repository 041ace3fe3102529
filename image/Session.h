#pragma once
// The current image and everything derived from it, as the main window owns them for the whole
// run: the one RecorderImage, the display model with the statistics, and the data-correction
// switch. Every load goes through the refresh sequence here, in its fixed order.
#include <filesystem>
#include <string>

#include "base/Clock.h"
#include "base/Prompter.h"
#include "image/DisplayModel.h"
#include "image/RecorderImage.h"

namespace orbisk {

enum class OpenResult {
    Opened,     // read, accepted and shown
    Abandoned,  // read, but the user refused to go on after the checksum question
    Refused,    // not read: the file could not be opened or has the wrong size
};

class Session {
public:
    Session(Prompter& prompter, const Clock& clock) : prompter_(prompter), clock_(clock) {}

    RecorderImage& Image() { return image_; }
    const RecorderImage& Image() const { return image_; }
    DisplayModel& Model() { return model_; }
    const DisplayModel& Model() const { return model_; }

    bool DataCorrection() const { return dataCorrection_; }
    void SetDataCorrection(bool on) { dataCorrection_ = on; }

    // The refresh sequence after a load: spectrum balancing, identification and settings,
    // statistics, the long-term page with the histogram series, the operational page.
    void Refresh();

    // Its steps, for the events that rerun only part of it.
    bool FillIdentificationAndSettings();
    bool ComputeStatistics();
    bool FillLongTermPage();      // operating parameters, then the distribution and the cycle list
    void FillLoadDistribution();  // with the step of model.choices.rgStep
    void FillCycleList();         // with the filter of model.choices.rgLast and model.reportDate

    // Opening a data file: the whole file or nothing, the checksum question, the refresh.
    OpenResult OpenDataFile(const std::filesystem::path& path);

    // Accepts an image read elsewhere (the reader): the checksum question, then the refresh.
    // Returns false when the user refused to go on.
    bool AcceptImage(const std::string& checksumQuestion);

    // Reduces the current image to the period since the previous check stored in the file.
    // True when the image was reduced and refreshed; on false the image is as it was.
    bool CompareWithPrevious(const std::filesystem::path& previousFile);

    // After a successful comparison the image holds the period's counters and the previous
    // check's date in place of the installation date: it must never go back to the reader. Any
    // load into the buffer (a file opened, a reading from the reader) ends that.
    bool PeriodImage() const { return periodImage_; }
    void EndPeriodImage() { periodImage_ = false; }

    // The data-file name proposed for the current image.
    std::string ProposedFileName() const;

    Prompter& GetPrompter() { return prompter_; }
    const Clock& GetClock() const { return clock_; }

private:
    Prompter& prompter_;
    const Clock& clock_;
    RecorderImage image_;
    DisplayModel model_;
    bool dataCorrection_ = false;
    bool periodImage_ = false;
};

}  // namespace orbisk
