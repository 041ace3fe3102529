#include "image/DisplayModel.h"

namespace orbisk {
namespace {

constexpr std::array<std::string_view, kControlCount> kNames = {
    "eMarka", "eNumber", "eYear", "eProd", "eOwner", "eSrok", "eGroup", "eEnter",
    "eSumGruz", "eGruz1", "eGruz2", "eGruz3", "eLebNameK", "eLebName1", "eLebName2", "eLebName3",
    "eRegType", "eRegNum", "eRegProd", "eRegYear", "eRegSetupName", "eRegSetup",
    "eChangePassport", "eChangeRTC", "eProgramChange", "eDateCheck", "eStartDateCheck",
    "eVersion", "eLeb1Cnt", "eLeb2Cnt", "eLeb3Cnt", "eStop1", "eStop", "eStopMax", "eWarning",
    "eCycleStart", "eCycleEnd", "eCycleTime", "eEnable", "eAvrScale", "eMassScale", "eStopSens",
    "eStopPerekos", "eCtrlRele3", "eCtrlRele4", "eWorkMode", "eCtrlRele3_Off", "eCtrlRele4_Off",
    "eExtRele1", "eExtRele2", "eExtRele3", "eExtRele4", "dtpReportDate"};

constexpr std::array<const char*, kGroups> kLoadCaptions = {"Кран", "Лебедка №1", "Лебедка №2",
                                                             "Лебедка №3"};
constexpr std::array<const char*, kGroups> kLastCaptions = {"Кран", "Леб. №1", "Леб. №2",
                                                             "Леб. №3"};

// What the settings page shows before any image has been decoded.
constexpr std::pair<Ctl, const char*> kSettingsInitial[] = {
    {Ctl::eLeb1Cnt, "1"},       {Ctl::eLeb2Cnt, "0"},        {Ctl::eLeb3Cnt, "0"},
    {Ctl::eWorkMode, "0"},      {Ctl::eStop1, "105"},        {Ctl::eStop, "115"},
    {Ctl::eStopMax, "125"},     {Ctl::eWarning, "90"},       {Ctl::eCycleStart, "5"},
    {Ctl::eCycleEnd, "3"},      {Ctl::eCycleTime, "10"},     {Ctl::eEnable, "100"},
    {Ctl::eAvrScale, "25"},     {Ctl::eMassScale, "50"},     {Ctl::eStopSens, "0"},
    {Ctl::eStopPerekos, "0"},   {Ctl::eCtrlRele3, "0"},      {Ctl::eCtrlRele3_Off, "0"},
    {Ctl::eCtrlRele4, "0"},     {Ctl::eCtrlRele4_Off, "0"},  {Ctl::eExtRele1, "0"},
    {Ctl::eExtRele2, "0"},      {Ctl::eExtRele3, "0"},       {Ctl::eExtRele4, "0"}};

}  // namespace

const std::array<const char*, kRegStatRows> kRegStatCaptions = {
    "Суммарное число рабочих циклов",
    "Суммарная масса поднятых грузов, т",
    "Количество срабатываний ограничителя",
    "Общая наработка (моточасы), [час.мин]",
    "Характеристическое число",
    "Коэффициент распределения нагрузки",
    "Режим нагружения",
    "Класс использования",
    "Фактическая группа режима",
    "Фактический календарный срок службы, дней",
    "Частота рабочих циклов (включений)",
    "Длительность рабочего цикла(включения), [мин.сек]"};

std::string_view ControlName(Ctl c) { return kNames[static_cast<int>(c)]; }

std::optional<Ctl> ControlByName(std::string_view name) {
    for (int i = 0; i < kControlCount; ++i) {
        if (kNames[i] == name) return static_cast<Ctl>(i);
    }
    return std::nullopt;
}

Ctl ChannelNameControl(int group) {
    return static_cast<Ctl>(static_cast<int>(Ctl::eLebNameK) + group);
}

DisplayModel::DisplayModel() {
    for (const auto& [control, initial] : kSettingsInitial) Text(control) = initial;
    for (int g = 0; g < kGroups; ++g) SetChannelName(g, {});
}

void DisplayModel::SetChannelName(int group, const std::string& name) {
    channelNames[group] = name;
    Text(ChannelNameControl(group)) = name.empty() ? kDefaultChannelNames[group] : name;
}

std::string DisplayModel::GroupCaption(CaptionList list, int group) const {
    if (!channelNames[group].empty()) return channelNames[group];
    return list == CaptionList::Last ? kLastCaptions[group] : kLoadCaptions[group];
}

TableList DisplayModel::LvCalibr() const {
    TableList t{{"№ датчика", "Qo [F-10]", "Qном [F-11]", "Размах"}, {}};
    for (std::size_t k = 0; k < calibration.size(); ++k) {
        const auto& p = calibration[k];
        const int span = p.qnom > p.qo ? p.qnom - p.qo : p.qo - p.qnom;
        t.rows.push_back({"Датчик №" + std::to_string(k + 1), std::to_string(p.qo),
                          std::to_string(p.qnom), std::to_string(span)});
    }
    return t;
}

TableList DisplayModel::LvWorkModeVal() const {
    TableList t{{"", "R0[F-50]", "R1[F-51]", "R2[F-52]", "R3[F-53]"}, {}};
    std::vector<std::string> row{"Qн, %"};
    for (auto v : workModeValues) row.push_back(std::to_string(v));
    t.rows.push_back(std::move(row));
    return t;
}

TableList DisplayModel::LvLoad() const {
    TableList t{{"№", "Нагрузка, %"}, {}};
    for (int g = 0; g < kGroups; ++g) t.columns.push_back(GroupCaption(CaptionList::Load, g));
    for (const auto& r : loadRows) t.rows.emplace_back(r.begin(), r.end());
    return t;
}

TableList DisplayModel::LvRegStat() const {
    TableList t{{"Параметр"}, {}};
    for (int g = 0; g < kGroups; ++g) t.columns.push_back(GroupCaption(CaptionList::RegStat, g));
    for (int r = 0; r < kRegStatRows; ++r) {
        std::vector<std::string> row{kRegStatCaptions[r]};
        row.insert(row.end(), regStat[r].begin(), regStat[r].end());
        t.rows.push_back(std::move(row));
    }
    return t;
}

std::vector<std::string> DisplayModel::LvLastColumns() const {
    std::vector<std::string> columns{"Дата и время"};
    for (int g = 0; g < kGroups; ++g) columns.push_back(GroupCaption(CaptionList::Last, g));
    columns.insert(columns.end(), {"Масса груза", "Состояние", "Кадр №"});
    return columns;
}

TableList DisplayModel::LvLast() const {
    TableList t{LvLastColumns(), {}};
    for (const auto& r : cycles) t.rows.emplace_back(r.cells.begin(), r.cells.end());
    return t;
}

}  // namespace orbisk
