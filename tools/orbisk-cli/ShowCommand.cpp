#include "ShowCommand.h"

#include <iostream>

#include "Json.h"
#include "LoadCommand.h"
#include "app/Locations.h"
#include "base/DateTime.h"
#include "image/DataFile.h"
#include "image/SettingsTable.h"

namespace orbisk::cli {
namespace {

void WriteList(JsonWriter& json, const TableList& list) {
    json.BeginObject().Key("columns").BeginArray();
    for (const auto& c : list.columns) json.String(c);
    json.EndArray().Key("rows").BeginArray();
    for (const auto& row : list.rows) {
        json.BeginArray();
        for (const auto& cell : row) json.String(cell);
        json.EndArray();
    }
    json.EndArray();
}

const char* ColorName(TextColor c) {
    return c == TextColor::Red ? "red" : "black";
}

const char* PointColorName(PointColor c) {
    switch (c) {
        case PointColor::Yellow:
            return "yellow";
        case PointColor::Red:
            return "red";
        default:
            return "series";
    }
}

std::string ModelJson(const DisplayModel& model, bool checksumOk,
                      const std::vector<std::string>& messages) {
    JsonWriter json;
    json.BeginObject();
    json.Key("checksum_ok").Bool(checksumOk);
    json.Key("messages").BeginArray();
    for (const auto& m : messages) json.String(m);
    json.EndArray();

    json.Key("controls").BeginObject();
    for (int i = 0; i < kControlCount; ++i) {
        json.Key(ControlName(static_cast<Ctl>(i))).String(model.text[i]);
    }
    json.EndObject();

    json.Key("colors").BeginObject();
    for (Ctl c : {Ctl::eChangePassport, Ctl::eChangeRTC, Ctl::eProgramChange, Ctl::eDateCheck}) {
        json.Key(ControlName(c)).String(ColorName(model.Color(c)));
    }
    json.EndObject();

    const Choices& ch = model.choices;
    json.Key("choices").BeginObject();
    for (const SettingChoice* choice : kSettingChoices) {
        json.Key(choice->name).Number(static_cast<long long>(ChoiceIndexOf(ch, *choice)));
    }
    json.Key("chbSensWorkMode").Bool(ch.chbSensWorkMode);
    json.Key("rgLast").Number(static_cast<long long>(ch.rgLast));
    json.Key("rgStep").Number(static_cast<long long>(ch.rgStep));
    json.EndObject();

    json.Key("lists").BeginObject();
    json.Key("lvCalibr");
    WriteList(json, model.LvCalibr());
    json.EndObject();
    json.Key("lvWorkModeVal");
    WriteList(json, model.LvWorkModeVal());
    json.EndObject();
    json.Key("lvLoad");
    WriteList(json, model.LvLoad());
    json.EndObject();
    json.Key("lvRegStat");
    WriteList(json, model.LvRegStat());
    json.EndObject();
    json.Key("lvLast");
    WriteList(json, model.LvLast());
    json.Key("icons").BeginArray();
    for (const auto& r : model.cycles) {
        if (r.icon == RowIcon::None) {
            json.Null();
        } else {
            json.Number(static_cast<long long>(r.icon));
        }
    }
    json.EndArray().Key("frames").BeginArray();
    for (const auto& r : model.cycles) json.Bool(r.hasFrame);
    json.EndArray().EndObject();
    json.EndObject();

    json.Key("histogram").BeginArray();
    for (const auto& series : model.histogram) {
        json.BeginArray();
        for (const auto& p : series) {
            json.BeginObject();
            json.Key("x").Number(static_cast<long long>(p.x));
            json.Key("y").Number(static_cast<long long>(p.y));
            json.Key("label").String(p.label);
            json.Key("color").String(PointColorName(p.color));
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndArray();

    json.Key("stats").BeginArray();
    for (const auto& s : model.stats) {
        json.BeginObject();
        json.Key("characteristic").Number(s.characteristic);
        json.Key("kp").Number(s.kp);
        json.Key("load_class").Number(static_cast<long long>(s.loadClass));
        json.Key("use_class").Number(static_cast<long long>(s.useClass));
        json.Key("group").Number(static_cast<long long>(s.group));
        json.Key("n").Number(static_cast<long long>(s.n));
        json.Key("days").Number(s.days);
        json.Key("frequency").Number(s.frequency);
        json.Key("duration").Number(s.duration);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text();
}

}  // namespace

int RunShowCommand(const std::vector<std::string>& args, CliContext& ctx) {
    LoadOptions options;
    std::optional<double> date;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--previous" && hasValue) {
            options.previous = args[++i];
        } else if (a == "--filter" && hasValue) {
            options.filter = ParseIntIn(args[++i], 0, 3);
            if (!options.filter) return Usage("--filter takes 0..3");
        } else if (a == "--step" && hasValue) {
            options.step = ParseIntIn(args[++i], 0, 2);
            if (!options.step) return Usage("--step takes 0..2");
        } else if (a == "--date" && hasValue) {
            date = ParseDateTime(args[++i]);
            if (!date || args[i].size() != 10) return Usage("--date takes DD.MM.YYYY");
        } else if (!a.empty() && a[0] == '-') {
            return Usage("unknown option of show: " + a);
        } else if (options.file.empty()) {
            options.file = a;
        } else {
            return Usage("show takes one file");
        }
    }
    if (options.file.empty()) return Usage("show needs a data file");
    if (date && options.filter && *options.filter != 0) {
        return Usage("--date lists the cycles of a date: it goes with --filter 0 only");
    }

    Session session(*ctx.prompter, *ctx.clock);
    bool checksumOk = false;
    if (const int rc = LoadImageForCommand(session, options, ctx, &checksumOk); rc != kExitDone) {
        return rc;
    }
    if (date) {
        DisplayModel& model = session.Model();
        model.choices.rgLast = static_cast<int>(CycleFilter::ByDate);
        model.reportDate = *date;
        model.SetText(Ctl::dtpReportDate, ShortDateText(*date));
        session.FillCycleList();
    }
    std::cout << ModelJson(session.Model(), checksumOk, ctx.prompter->Messages()) << '\n';
    return kExitDone;
}

int RunNameCommand(const std::vector<std::string>& args, CliContext& ctx) {
    if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-')) {
        return Usage("name takes one data file");
    }
    RecorderImage image;
    if (!ReadDataFile(Utf8ToPath(args[0]), image, *ctx.prompter)) return kExitFailed;
    std::cout << ProposedFileName(image) << '\n';
    return kExitDone;
}

}  // namespace orbisk::cli
