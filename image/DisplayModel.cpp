#include "image/DisplayModel.h"

#include "image/SettingsTable.h"

namespace orbisk {
namespace {

constexpr std::array<const char*, kGroups> kLoadCaptions = {"Кран", "Лебедка №1", "Лебедка №2",
                                                            "Лебедка №3"};
constexpr std::array<const char*, kGroups> kLastCaptions = {"Кран", "Леб. №1", "Леб. №2",
                                                            "Леб. №3"};

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

DisplayModel::DisplayModel() {
    for (const auto& f : kSettingFields) Text(f.control) = f.initial;
    for (int g = 0; g < kGroups; ++g) SetChannelName(g, {});
}

void DisplayModel::SetChannelName(int group, const std::string& name) {
    channelNames[group] = name;
    Text(ChannelNameControl(group)) = name.empty() ? kDefaultChannelNames[group] : name;
}

void DisplayModel::TypeChannelName(int group, const std::string& typed) {
    SetChannelName(group, typed);
    Text(ChannelNameControl(group)) = typed;
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
