#pragma once
// The texts of the report command: the five documents with their menu captions and names, the
// cycle-count question and the failure message, each defined once for the core, the desktop
// program and the command line.
#include <array>
#include <string_view>

#include "app/ProgramIdentity.h"

namespace orbisk::report {

// The title the application sets at start-up; the pages name it as their generator.
inline constexpr std::string_view kApplicationTitle = ui::kAppTitle;

// Completed with the number of rows of the work-cycle list and kCyclePromptSuffix.
inline constexpr std::string_view kCyclePromptPrefix =
    "Введите количество отображаемых циклов (макс=";
inline constexpr std::string_view kCyclePromptSuffix = "):";
// The answer taken when the user's answer is no whole number.
inline constexpr int kCycleCountWhenNotANumber = 10;
inline constexpr int kDefaultCycleCount = 10;

// Completed with "\n " + title + "\n" + the error's class name and message.
inline constexpr std::string_view kBuildFailed = "Ошибка формирования:";
// Shown for a failure inside a document that carries no message of its own.
inline constexpr char kUnknownError[] = "Неизвестная ошибка";

inline constexpr std::string_view kReportFileName = "ORBIS_K.HTML";

}  // namespace orbisk::report
