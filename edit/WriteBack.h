#pragma once
// Writing the pages back to the reader. The identification block (1,536 bytes from 0x0800), the
// long-term region around it (4,080 bytes from 0x0010) and the settings block (240 bytes from
// 0x0010) are assembled from the page texts of the display model in a scratch copy, in the
// order of their messages; the image buffer takes the new block only when the transfer starts,
// so an abandoned write leaves it as it was. Every write is read back and compared.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/Prompter.h"
#include "image/DisplayModel.h"
#include "image/RecorderImage.h"

namespace orbisk {

class ReaderLink;
class Session;

// An integer setting's edit text clamped into [min, max], with the messages "больше макс." and
// "меньше мин." in that order; the clamped value is written back into the page. Nothing when the
// text is no integer (the write then stops with its own message).
// `showField`, when set, is told the control before each of its messages, so that the person
// sees the field the message is about.
std::optional<int> ReadClampedSetting(DisplayModel& model, Ctl control, int minimum, int maximum,
                                      Prompter& prompter,
                                      const std::function<void(Ctl)>& showField = {});

// The image with the identification block rebuilt from the page: every byte of 0x0800..0x0DFF
// without a control zero. Nothing when the write is abandoned: a date or capacity that does not
// convert, or No to the question about the errors. An empty winch 2 or 3 capacity becomes "0"
// on the page, as the person then sees it.
std::unique_ptr<RecorderImage> AssembleIdentification(const RecorderImage& image,
                                                      DisplayModel& model, Prompter& prompter);

// The image with the settings block rebuilt from the page: counts, calibration pairs of the
// listed rows (eight at the most), the values clamped into their bounds, the choices, the work
// modes; zero in every byte without a control. Nothing when a text is no integer. `showField` as
// for ReadClampedSetting.
std::unique_ptr<RecorderImage> AssembleSettings(const RecorderImage& image, DisplayModel& model,
                                                Prompter& prompter,
                                                const std::function<void(Ctl)>& showField = {});

enum class WriteResult {
    Written,       // sent, and read back as sent
    NotConnected,  // no reader found
    PeriodImage,   // the current image is a period image: nothing is sent
    Abandoned,     // stopped before the transfer (a message, or No)
    Failed,        // the transfer or its check failed; the reader may hold part of the region
};

struct WriteRegion {
    std::uint16_t address;
    std::size_t count;
};
inline constexpr WriteRegion kIdentificationRegion{addr::Identification, addr::IdentificationSize};
inline constexpr WriteRegion kLongTermRegion{addr::Settings, 0x1000 - addr::Settings};
inline constexpr WriteRegion kSettingsRegion{addr::Settings, addr::SettingsSize};

// How a write finds the reader: the remembered port with the connection dialog (the desktop
// program), or one given port (the command line).
struct WriteTarget {
    ReaderLink& link;
    Prompter& prompter;  // the link's: its pauses and messages
    std::string port;    // empty: the remembered port and the dialog
    // Told the control a message of the settings' assembly is about, before the message.
    std::function<void(Ctl)> showField = {};
};

// "Записать в ПСИ" of the identification page; `withLongTerm` is [F-82].
WriteResult WriteIdentification(Session& session, const WriteTarget& target, bool withLongTerm);
// "Записать в ПСИ" of the settings page.
WriteResult WriteSettings(Session& session, const WriteTarget& target);

}  // namespace orbisk
