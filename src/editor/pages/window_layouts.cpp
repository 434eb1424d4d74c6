#include "pages/window_layouts.h"

#include "tables/window_tables.h"
#include "tables/window_vocabularies.h"

namespace vorlan {

namespace {

std::vector<std::string> levels() {
    std::vector<std::string> v;
    for (int l = 1; l <= 9; ++l)
        v.push_back("L" + std::to_string(l));
    return v;
}

WindowLayout guts() {
    WindowLayout w{"Form2", "底力补正", "Command23", "底力补正", &gutsTable(), true, 1, {}, {}};
    // A row for each HP level, HP100% at the top; a column for each correction.
    std::vector<std::vector<std::string>> cells;
    for (int hp = 100; hp >= 10; hp -= 10) {
        const std::string level = "hp" + std::to_string(hp) + "-";
        cells.push_back({level + "hit", level + "evasion", level + "armor", level + "critical"});
    }
    w.grids.push_back({"", gutsColumns(), gutsRows(), {}, cells, false});
    return w;
}

WindowLayout barriers() {
    WindowLayout w{"Form3", "防护立场", "Command24", "防护立场", &barrierTable(), true, 1, {}, {}};
    w.grids.push_back({"", {}, {}, {}, {{"en-cost", "morale"}, {"damage", "type"}}, true});
    return w;
}

WindowLayout skillCorrections() {
    WindowLayout w{
        "Form4", "机师技能补正", "Command25", "机师特技补正", &skillCorrectionTable(), false, 3, {},
        {}};
    // Each skill's name above its table, each caption above its own column; the columns
    // after the captioned ones have no known meaning and no caption.
    const struct {
        const char* key;
        const char* heading;
        std::vector<std::string> captions;
        int columns;
    } skills[] = {{"newtype", "ニュータイプ", {"命中", "回避", "射程"}, 4},
                  {"enhanced", "強化人間", {"命中", "回避", "射程"}, 4},
                  {"psychokinesis", "念動力", {"命中", "回避"}, 2},
                  {"psychic", "超能力", {"命中", "回避", "必杀"}, 4},
                  {"brave", "勇者", {"命中", "回避", "必杀", "装甲"}, 4},
                  {"antibody", "抗体反応", {"命中", "回避", "射程", "攻撃力"}, 8}};
    for (const auto& s : skills) {
        // A row for each level, a column for each value.
        std::vector<std::vector<std::string>> cells;
        for (int l = 1; l <= 9; ++l) {
            cells.emplace_back();
            for (int j = 1; j <= s.columns; ++j)
                cells.back().push_back(std::string(s.key) + "-l" + std::to_string(l) + "-" +
                                       std::to_string(j));
        }
        w.grids.push_back({s.heading, s.captions, levels(), {}, cells, false});
    }
    return w;
}

WindowLayout parts() {
    WindowLayout w{"Form5", "强化配件性能", "Command26", "强化配件", &partTable(), true, 1, {}, {}};
    w.grids.push_back({"",
                       {},
                       {},
                       {},
                       {{"move", "hp", "en", "armor", "mobility", "hit"},
                        {"critical", "range", "mirage", "hp-recovery", "en-recovery", "air"},
                        {"terrain", "equipment", "morale", "item", "sp-recovery", "formation"}},
                       true});
    w.notes = {"说明：", "地形适应 1空A  2空S 3宇A 4陸A 5海A 6全A 7全S",
               "特技装备 \n1 対ビームコーティング \n2 Iフィールドバリア \n3 グラビティ?テリトリー",
               "回复道具：1 EN全回復 2 弾薬全回復 3 HP全回復 4 HPEN弾薬全回復",
               "SP回复：1 20回復 2 50回復 3 全回復 4 50回復気力-50"};
    return w;
}

WindowLayout weaponUpgrades() {
    WindowLayout w{"Form6", "武器改造", "Command27", "武器改造", &weaponUpgradeTable(),
                   false,   1,          {},          {}};
    WindowGrid g;
    // The cost half, then the attack half, each with types 1 to 5.
    for (int column = 0; column < 10; ++column)
        g.columns.push_back("类型" + std::to_string(column % 5 + 1));
    for (int s = 1; s <= 10; ++s)
        g.rows.push_back(std::to_string(s));
    g.footers = {"改造费用", "增加攻击力"};
    // Row s holds step s + 1 of each type's cost, then of each type's attack increase.
    g.cells.resize(10);
    for (int s = 0; s < 10; ++s) {
        for (int k = 0; k < 10; ++k) {
            const std::string ts = std::to_string(k % 5 + 1) + "-" + std::to_string(s + 1);
            g.cells[static_cast<std::size_t>(s)].push_back((k < 5 ? "cost" : "attack") + ts);
        }
    }
    w.grids.push_back(g);
    return w;
}

WindowLayout protagonistSpiritWindow() {
    WindowLayout w{"Form7", "主角精神", "Command28", "主角精神", &spiritTable(), true, 1, {}, {}};
    WindowGrid g;
    g.columns = {"精神名称", "习得等级", "消耗SP"};
    for (int k = 1; k <= 6; ++k) {
        const std::string spirit = "spirit" + std::to_string(k);
        g.cells.push_back({spirit, spirit + "-level", spirit + "-sp"});
    }
    w.grids.push_back(g);
    w.filter = true;  // 98 entries
    return w;
}

}  // namespace

const std::vector<WindowLayout>& windowLayouts() {
    static const std::vector<WindowLayout> layouts{
        guts(),  barriers(),       skillCorrections(),
        parts(), weaponUpgrades(), protagonistSpiritWindow()};
    return layouts;
}

}  // namespace vorlan
