#include "tables/window_tables.h"

#include <string>

#include "tables/window_vocabularies.h"

namespace vorlan {

namespace {

std::string element(const char* control, int k) {
    return std::string(control) + "(" + std::to_string(k) + ")";
}

}  // namespace

const TableDef& gutsTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("guts", "底力补正", 0x2DE788, 40, 9);
        // Ten rows (HP100% … HP10%) of four one-byte corrections; byte 4r + k in Text1(4r + k).
        const char* columns[] = {"hit", "evasion", "armor", "critical"};
        for (int r = 0; r < 10; ++r) {
            const std::string row = gutsRows()[static_cast<std::size_t>(r)];
            for (int k = 0; k < 4; ++k) {
                const int n = 4 * r + k;
                d.fields.push_back(fieldOf(
                    "hp" + std::to_string(100 - 10 * r) + "-" + columns[k], element("Text1", n),
                    gutsColumns()[static_cast<std::size_t>(k)], n, 1, decimal(), 0, row));
            }
        }
        d.labelItems = gutsLevels();
        return d;
    }();
    return t;
}

const TableDef& barrierTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("barrier", "防护立场", 0x2DA8B0, 16, 13);
        d.fields = {
            fieldOf("en-cost", "Text1(0)", "消费EN", 0, 1, decimal()),
            fieldOf("morale", "Text1(1)", "需要气力", 2, 1, decimal()),
            fieldOf("damage", "Text1(2)", "防御伤害值", 8, 2, decimal()),
            // One byte: offset 13 is not the type's and is never touched.
            fieldOf("type", "Combo1", "防御类型", 12, 1, choice(barrierTypes())),
        };
        d.labelItems = barrierNames();
        return d;
    }();
    return t;
}

const TableDef& skillCorrectionTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("skill-correction", "机师技能补正", 0x2DE8F4, 300, 1);
        // Six skill tables of 9 levels × N columns, with gaps between them.
        const struct {
            const char* key;
            const char* heading;
            int start;
            int columns;
        } skills[] = {{"newtype", "ニュータイプ", 0, 4},  {"enhanced", "強化人間", 48, 4},
                      {"psychokinesis", "念動力", 94, 2}, {"psychic", "超能力", 128, 4},
                      {"brave", "勇者", 176, 4},          {"antibody", "抗体反応", 228, 8}};
        int box = 0;
        for (const auto& s : skills) {
            for (int l = 1; l <= 9; ++l) {
                for (int j = 1; j <= s.columns; ++j) {
                    d.fields.push_back(fieldOf(
                        std::string(s.key) + "-l" + std::to_string(l) + "-" + std::to_string(j),
                        element("Text1", box++),
                        "L" + std::to_string(l) + " 第" + std::to_string(j) + "列",
                        s.start + (l - 1) * s.columns + (j - 1), 1, decimal(), 0, s.heading));
                }
            }
        }
        d.reserved = {{36, 12}, {84, 10}, {112, 16}, {164, 12}, {212, 16}};
        return d;
    }();
    return t;
}

const TableDef& partTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("part", "强化配件性能", 0x1FB604, 32, 49);
        d.fields = {
            fieldOf("move", "Text1(0)", "移動力", 0, 2, decimal()),
            fieldOf("hp", "Text1(1)", "HP", 2, 2, decimal()),
            fieldOf("en", "Text1(2)", "EN", 4, 2, decimal()),
            fieldOf("armor", "Text1(3)", "装甲", 6, 2, decimal()),
        };
        const char* bytes[][2] = {
            {"mobility", "運動性"},     {"hit", "命中率%"},    {"critical", "必杀率%"},
            {"range", "射程"},          {"mirage", "分身 1"},  {"hp-recovery", "HP回复%"},
            {"en-recovery", "EN回复%"}, {"air", "空移动 1"},   {"terrain", "地形适应"},
            {"equipment", "特技装备"},  {"morale", "气力"},    {"item", "回复道具"},
            {"sp-recovery", "SP回复"},  {"formation", "编成-"}};
        for (int k = 0; k < 14; ++k) {
            d.fields.push_back(
                fieldOf(bytes[k][0], element("Text1", 4 + k), bytes[k][1], 8 + k, 1, decimal()));
        }
        // Bytes 22 … 31 are shown by no field; those of the last part are pilot 0's first bytes.
        d.reserved = {{22, 10}};
        d.labelItems = partNames();
        return d;
    }();
    return t;
}

const TableDef& weaponUpgradeTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("weapon-upgrade", "武器改造", 0x2DDD00, 308, 1);
        // n = 10 × (type − 1) + (step − 1): costs at 4n, attack increases at 208 + 2n.
        for (const bool attack : {false, true}) {
            for (int n = 0; n < 50; ++n) {
                const std::string ts =
                    std::to_string(n / 10 + 1) + "-" + std::to_string(n % 10 + 1);
                const std::string caption =
                    "类型" + std::to_string(n / 10 + 1) + " 第" + std::to_string(n % 10 + 1) + "段";
                d.fields.push_back(attack
                                       ? fieldOf("attack" + ts, element("Text1", 50 + n), caption,
                                                 208 + 2 * n, 2, decimal(), 0, "增加攻击力")
                                       : fieldOf("cost" + ts, element("Text1", n), caption, 4 * n,
                                                 4, signedDecimal(), 0, "改造费用"));
            }
        }
        d.reserved = {{200, 8}};
        return d;
    }();
    return t;
}

const TableDef& spiritTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("spirit", "主角精神", 0x2B6220, 18, 98);
        const auto spirits = choice(protagonistSpirits());
        for (int k = 0; k < 6; ++k) {
            const std::string n = std::to_string(k + 1);
            const std::string group = "第" + n + "行";
            d.fields.push_back(fieldOf("spirit" + n, element("Combo1", k), "精神名称", 3 * k, 1,
                                       spirits, 0, group));
            d.fields.push_back(fieldOf("spirit" + n + "-level", element("Text1", k), "习得等级",
                                       3 * k + 1, 1, decimal(), 0, group));
            d.fields.push_back(fieldOf("spirit" + n + "-sp", element("Text2", k), "消耗SP",
                                       3 * k + 2, 1, decimal(), 0, group));
        }
        d.labelItems = protagonistEntries();
        return d;
    }();
    return t;
}

}  // namespace vorlan
