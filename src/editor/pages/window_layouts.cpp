#include "pages/window_layouts.h"

#include "tables/window_tables.h"
#include "tables/window_vocabularies.h"

namespace vorlan {

namespace {

std::string box(const char* control, int k) {
    return std::string(control) + "(" + std::to_string(k) + ")";
}

std::vector<std::string> levels() {
    std::vector<std::string> v;
    for (int l = 1; l <= 9; ++l)
        v.push_back("L" + std::to_string(l));
    return v;
}

// `rows` × `columns` boxes Text1(first …), numbered row by row.
std::vector<std::vector<std::string>> rowMajor(int first, int rows, int columns) {
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c)
            cells[static_cast<std::size_t>(r)].push_back(box("Text1", first + r * columns + c));
    }
    return cells;
}

WindowLayout guts() {
    WindowLayout w{"Form2", "底力补正", "Command23", "底力补正", &gutsTable(), true, 1, {}, {}};
    w.grids.push_back({"", gutsColumns(), gutsRows(), {}, rowMajor(0, 10, 4), false});
    return w;
}

WindowLayout barriers() {
    WindowLayout w{"Form3", "防护立场", "Command24", "防护立场", &barrierTable(), true, 1, {}, {}};
    w.grids.push_back({"", {}, {}, {}, {{"Text1(0)", "Text1(1)"}, {"Text1(2)", "Combo1"}}, true});
    return w;
}

WindowLayout skillCorrections() {
    WindowLayout w{
        "Form4", "机师技能补正", "Command25", "机师特技补正", &skillCorrectionTable(), false, 3, {},
        {}};
    // Each skill's name above its table, each caption above its own column; the columns
    // after the captioned ones have no known meaning and no caption.
    const struct {
        const char* heading;
        std::vector<std::string> captions;
        int first;
        int columns;
    } skills[] = {{"ニュータイプ", {"命中", "回避", "射程"}, 0, 4},
                  {"強化人間", {"命中", "回避", "射程"}, 36, 4},
                  {"念動力", {"命中", "回避"}, 72, 2},
                  {"超能力", {"命中", "回避", "必杀"}, 90, 4},
                  {"勇者", {"命中", "回避", "必杀", "装甲"}, 126, 4},
                  {"抗体反応", {"命中", "回避", "射程", "攻撃力"}, 162, 8}};
    for (const auto& s : skills) {
        w.grids.push_back(
            {s.heading, s.captions, levels(), {}, rowMajor(s.first, 9, s.columns), false});
    }
    return w;
}

WindowLayout parts() {
    WindowLayout w{"Form5", "强化配件性能", "Command26", "强化配件", &partTable(), true, 1, {}, {}};
    w.grids.push_back({"", {}, {}, {}, rowMajor(0, 3, 6), true});
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
    // Column k holds Text1(10k) … Text1(10k + 9), top to bottom.
    g.cells.resize(10);
    for (int s = 0; s < 10; ++s) {
        for (int k = 0; k < 10; ++k)
            g.cells[static_cast<std::size_t>(s)].push_back(box("Text1", 10 * k + s));
    }
    w.grids.push_back(g);
    return w;
}

WindowLayout protagonistSpiritWindow() {
    WindowLayout w{"Form7", "主角精神", "Command28", "主角精神", &spiritTable(), true, 1, {}, {}};
    WindowGrid g;
    g.columns = {"精神名称", "习得等级", "消耗SP"};
    for (int k = 0; k < 6; ++k)
        g.cells.push_back({box("Combo1", k), box("Text1", k), box("Text2", k)});
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
