#include "tables/pilot_table.h"

#include <string>

#include "tables/pilot_vocabularies.h"
#include "tables/shared_vocabularies.h"

namespace vorlan {

namespace {

std::string element(const char* control, int k) {
    return std::string(control) + "(" + std::to_string(k) + ")";
}

std::vector<FieldDef> pilotFields() {
    std::vector<FieldDef> v{
        fieldOf("code", "Combo17", "机师代码", 0, 2, nameChoice(NameList::Pilots, kPilotCount)),
        fieldOf("nickname", "Text28", "机师爱称", 2, 21, nameCode("0000")),
        // The surname is cut at the first "00", the other two names at the first "0000".
        fieldOf("surname", "Text29", "机师姓", 23, 21, nameCode("00")),
        fieldOf("given-name", "Text31", "机师名", 44, 24, nameCode("0000")),
    };
    // Text40 in element order: 0 = SP … 6 = 技量 (the form places them otherwise).
    const char* abilities[][2] = {{"sp", "SP"},         {"melee", "格斗"},    {"shooting", "射击"},
                                  {"evasion", "回避"},  {"accuracy", "命中"}, {"defense", "防御"},
                                  {"technique", "技量"}};
    for (int k = 0; k < 7; ++k)
        v.push_back(
            fieldOf(abilities[k][0], element("Text40", k), abilities[k][1], 72 + k, 1, decimal()));
    const auto terrain = choice(terrainRatings());
    const char* land[][2] = {{"terrain-air", "空"},
                             {"terrain-land", "陆"},
                             {"terrain-sea", "海"},
                             {"terrain-space", "宇"}};
    for (int k = 0; k < 4; ++k) {
        v.push_back(fieldOf(land[k][0], "Combo" + std::to_string(18 + k), land[k][1], 80 + k, 1,
                            terrain, 0, "地形适应"));
    }
    v.push_back(fieldOf("side", "Text42", "敌我判定", 84, 1, hexNumber()));
    v.push_back(fieldOf("transfer", "Text43", "换乘类型", 85, 1, hexNumber()));
    const auto spirits = choice(pilotSpiritCommands());
    for (int k = 0; k < 6; ++k) {
        const std::string n = std::to_string(k + 1);
        const std::string group = "机师精神 第" + n + "行";
        const int at = 92 + 3 * k;
        v.push_back(
            fieldOf("spirit" + n, element("Combo22", k), "精神指令", at, 1, spirits, 0, group));
        v.push_back(fieldOf("spirit" + n + "-level", element("Text45", k), "修得LV", at + 1, 1,
                            decimal(), 0, group));
        v.push_back(fieldOf("spirit" + n + "-sp", element("Text46", k), "消耗SP", at + 2, 1,
                            decimal(), 0, group));
    }
    const auto skills = nameChoice(NameList::Skills, kSkillCount);
    for (int r = 0; r < 6; ++r) {
        const std::string n = std::to_string(r + 1);
        const std::string group = "机师技能 第" + n + "行";
        const int at = 110 + 10 * r;
        v.push_back(fieldOf("skill" + n, "Combo" + std::to_string(23 + r), "技能代码", at, 1,
                            skills, 0, group));
        // Elements 1 to 9: byte +j of the slot goes to element j.
        for (int j = 1; j <= 9; ++j) {
            v.push_back(fieldOf("skill" + n + "-lv" + std::to_string(j),
                                element(("Text" + std::to_string(47 + r)).c_str(), j),
                                "修得LV" + std::to_string(j), at + j, 1, decimal(), 0, group));
        }
    }
    return v;
}

}  // namespace

const TableDef& pilotTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("pilot", "机师", 0x1FBC20, 170, kPilotCount);
        d.fields = pilotFields();
        d.labelList = NameList::Pilots;
        d.copyable = true;
        d.decoded = {{"nickname", "Text36"}, {"surname", "Text38"}, {"given-name", "Text39"}};
        // Bytes no field shows: never written by a save.
        d.reserved = {{68, 4}, {79, 1}, {86, 6}};
        return d;
    }();
    return t;
}

}  // namespace vorlan
