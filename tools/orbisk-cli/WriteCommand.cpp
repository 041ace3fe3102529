#include "WriteCommand.h"

#include <optional>

#include "CommandLink.h"
#include "LoadCommand.h"
#include "Usage.h"
#include "app/Locations.h"
#include "base/TextCodec.h"
#include "edit/EditTexts.h"
#include "edit/SettingsDialogs.h"
#include "edit/TextNumbers.h"
#include "edit/WriteBack.h"
#include "image/DataFile.h"
#include "image/IdentificationTable.h"
#include "image/Session.h"
#include "image/SettingsTable.h"

namespace orbisk::cli {

namespace {

enum class Block { Identification, LongTerm, Settings };

struct Sensor {
    int number;
    std::string qo, qnom;
};

struct WriteOptions {
    std::string file;
    LinkArguments link;
    std::optional<Block> block;
    std::vector<std::pair<std::string, std::string>> sets;  // control name, text, in their order
    std::vector<Sensor> sensors;
    std::optional<std::array<int, 4>> modes;
};

// The edits a person can type into on the two editing pages.
bool Editable(Ctl control) {
    return FindIdentificationField(control) != nullptr || FindSettingField(control) != nullptr;
}

// The block whose page has the control (a valid --set name).
Block PageOf(const std::string& name) {
    const auto control = ControlByName(name);
    return control && FindIdentificationField(*control) ? Block::Identification : Block::Settings;
}

const char* BlockName(Block block) {
    return block == Block::Settings ? "settings" : "identification";
}

// What the write would not send is a mistake in the call, not a change silently dropped.
std::string CheckBlockOf(const WriteOptions& o) {
    const Block page = *o.block == Block::Settings ? Block::Settings : Block::Identification;
    const auto other = [page](const std::string& option, Block of) {
        return option + " belongs to the " + BlockName(of) + " block, not to --block " +
               BlockName(page);
    };
    for (const auto& [name, text] : o.sets) {
        if (PageOf(name) != page) return other("--set " + name, PageOf(name));
    }
    if (page != Block::Settings && !o.sensors.empty()) return other("--sensor", Block::Settings);
    if (page != Block::Settings && o.modes) return other("--modes", Block::Settings);
    return {};
}

const SettingChoice* ChoiceNamed(const std::string& name) {
    for (const SettingChoice* choice : kSettingChoices) {
        if (name == choice->name) return choice;
    }
    return nullptr;
}

constexpr char kSensWorkMode[] = "chbSensWorkMode";

std::string CheckSet(const std::string& name, const std::string& text) {
    if (const auto control = ControlByName(name); control && Editable(*control)) return {};
    if (const SettingChoice* choice = ChoiceNamed(name)) {
        const auto index = IntegerText(text);
        if (!index || *index < 0 || *index >= choice->itemCount) {
            return name + " takes an item index from 0 to " + std::to_string(choice->itemCount - 1);
        }
        return {};
    }
    if (name == kSensWorkMode) return text == "0" || text == "1" ? "" : name + " takes 0 or 1";
    return name + " is no control of the identification or settings page that takes a text";
}

std::string ParseWrite(const std::vector<std::string>& args, WriteOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (TakeLinkArgument(args, i, o.link)) continue;
        const bool hasValue = i + 1 < args.size();
        if (a == "--block" && hasValue) {
            const std::string& b = args[++i];
            if (b == "identification") {
                o.block = Block::Identification;
            } else if (b == "long-term") {
                o.block = Block::LongTerm;
            } else if (b == "settings") {
                o.block = Block::Settings;
            } else {
                return "--block takes identification, long-term or settings";
            }
        } else if (a == "--set" && hasValue) {
            const std::string& s = args[++i];
            const std::size_t eq = s.find('=');
            if (eq == std::string::npos) return "--set takes CONTROL=TEXT";
            const std::string name = s.substr(0, eq), text = s.substr(eq + 1);
            if (const std::string problem = CheckSet(name, text); !problem.empty()) return problem;
            o.sets.emplace_back(name, text);
        } else if (a == "--sensor" && hasValue) {
            // The number, then the two texts of the dialog's edits, neither empty.
            const std::string& s = args[++i];
            const std::size_t eq = s.find('='),
                              comma = s.find(',', eq == std::string::npos ? 0 : eq);
            const auto number =
                eq == std::string::npos ? std::nullopt : IntegerText(s.substr(0, eq));
            if (!number || comma == std::string::npos || comma == eq + 1 || comma + 1 == s.size() ||
                s.find(',', comma + 1) != std::string::npos) {
                return "--sensor takes N=QO,QNOM";
            }
            o.sensors.push_back({*number, s.substr(eq + 1, comma - eq - 1), s.substr(comma + 1)});
        } else if (a == "--modes" && hasValue) {
            std::array<int, 4> values{};
            std::string rest = args[++i] + ",";
            for (int r = 0; r < 4; ++r) {
                const std::size_t comma = rest.find(',');
                const auto value =
                    comma == std::string::npos ? std::nullopt : IntegerText(rest.substr(0, comma));
                if (!value) return "--modes takes four whole numbers R0,R1,R2,R3";
                values[r] = *value;
                rest.erase(0, comma + 1);
            }
            if (!rest.empty()) return "--modes takes four whole numbers R0,R1,R2,R3";
            o.modes = values;
        } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
            o.file = a;
        } else {
            return "write: unexpected argument: " + a;
        }
    }
    if (o.file.empty() || o.link.port.empty() || !o.block) {
        return "write needs FILE, --port PORT and --block identification|long-term|settings";
    }
    return CheckBlockOf(o);
}

// What --set does to the page: the text as if pasted, the item chosen, the box checked.
void ApplySet(DisplayModel& model, const std::string& name, const std::string& text) {
    if (const SettingChoice* choice = ChoiceNamed(name)) {
        ChoiceIndexOf(model.choices, *choice) = *IntegerText(text);
        return;
    }
    if (name == kSensWorkMode) {
        model.choices.chbSensWorkMode = text == "1";
        return;
    }
    const Ctl control = *ControlByName(name);
    const std::string pasted = PastedText(text, MaxTextLength(control));
    if (const int group = ChannelNameGroup(control); group >= 0) {
        model.TypeChannelName(group, pasted);
    } else {
        model.Text(control) = pasted;
    }
}

}  // namespace

int RunWriteCommand(const std::vector<std::string>& args, CliContext& ctx) {
    WriteOptions o;
    if (const std::string problem = ParseWrite(args, o); !problem.empty()) return Usage(problem);
    CommandLink command(ctx);
    if (const int problem = command.Open("write", o.link, true); problem != kExitDone)
        return problem;
    CommandPrompter& prompter = command.Prompter();

    Session session(prompter, *ctx.clock);
    LoadOptions load;
    load.file = o.file;
    if (LoadImageForCommand(session, load, ctx) != kExitDone) return kExitFailed;
    DisplayModel& model = session.Model();
    for (const auto& [name, text] : o.sets) ApplySet(model, name, text);
    for (const Sensor& sensor : o.sensors) {
        if (!SensorNumbers(model).Contains(sensor.number)) {
            return Usage("--sensor: the image has sensors 1 to " +
                         std::to_string(model.totalSensors));
        }
        if (!EnterCalibration(model, sensor.number, sensor.qo, sensor.qnom, prompter)) {
            return kExitFailed;
        }
    }
    if (o.modes) StoreWorkModes(model, *o.modes);

    // The search's closing status texts say why no reader was found; they come before the
    // message that says so.
    prompter.TellWhyBefore(edittext::kNotConnected);
    const WriteTarget target{command.Link(), prompter, o.link.port};
    const WriteResult result =
        *o.block == Block::Settings
            ? WriteSettings(session, target)
            : WriteIdentification(session, target, *o.block == Block::LongTerm);
    bool ok = command.SaveTrace() && result == WriteResult::Written;
    if (ok && command.Simulation()) ok = command.StoreSimulation();
    return ok ? kExitDone : kExitFailed;
}

}  // namespace orbisk::cli
