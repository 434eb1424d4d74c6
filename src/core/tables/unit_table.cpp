#include "tables/unit_table.h"

#include "tables/unit_vocabularies.h"

namespace vorlan {

namespace {

std::vector<FieldDef> headerFields() {
    const auto terrain = choice(terrainRatings());
    const char* steps = "改造段数";
    const char* land = "地形适应";
    std::vector<FieldDef> v{
        fieldOf("code", "Combo1", "机体代码", 0, 2, nameChoice(NameList::Units, kUnitCount)),
        fieldOf("name", "Text33", "机体名称", 2, 34, nameCode("0000")),
        fieldOf("hp", "Text2", "HP", 36, 4, decimal()),
        fieldOf("en", "Text3", "EN", 40, 2, decimal()),
        fieldOf("move", "Text4", "移动力", 42, 2, decimal()),
        fieldOf("mobility", "Text5", "运动性", 44, 2, decimal()),
        fieldOf("armor", "Text6", "装甲", 46, 2, decimal()),
        fieldOf("size", "Combo2", "SIZE", 48, 1, choice(unitSizes())),
        fieldOf("cost", "Text7", "COST", 49, 1, hexNumber()),
        fieldOf("repair", "Text8", "修理费", 50, 2, decimal()),
        fieldOf("reward", "Text9", "击破费", 52, 2, decimal()),
        fieldOf("exp", "Text11", "EXP", 54, 2, decimal()),
        fieldOf("pp", "Text12", "PP", 56, 2, decimal()),
        // Four upgrade step limits in the nibbles of bytes 58 and 59: EN, HP, armour, mobility.
        fieldOf("step-en", "Text14", "EN", 58, 1, decimal(), 0xF0, steps),
        fieldOf("step-hp", "Text15", "HP", 58, 1, decimal(), 0x0F, steps),
        fieldOf("step-armor", "Text16", "装甲", 59, 1, decimal(), 0xF0, steps),
        fieldOf("step-mobility", "Text17", "运动性", 59, 1, decimal(), 0x0F, steps),
        fieldOf("chips", "Text10", "芯片数", 61, 1, decimal()),
        // Stored 10 is item 8 "地中"; a stored 8 also shows as "地中" and is kept unless changed.
        fieldOf("move-type", "Combo7", "移动类型", 62, 1,
                mappedChoice(moveTypes(), {0, 1, 2, 3, 4, 5, 6, 7, 10}, {{8, 8}})),
        fieldOf("terrain-air", "Combo8", "空", 63, 1, terrain, 0, land),
        fieldOf("terrain-land", "Combo9", "陆", 64, 1, terrain, 0, land),
        fieldOf("terrain-sea", "Combo10", "海", 65, 1, terrain, 0, land),
        fieldOf("terrain-space", "Combo11", "宇", 66, 1, terrain, 0, land),
        fieldOf("skills1", "List3", "机体技能1（左）", 68, 2, reversedBitSet(unitSkills1())),
    };
    // Bits 0 to 3 of byte 70 are the four icon toggles; bits 4 to 7 are not shown and kept.
    static const char* icons[] = {"icon0", "icon1", "icon2", "icon3"};
    static const char* pictures[] = {"Picture2(0)", "Picture2(1)", "Picture2(2)", "Picture2(3)"};
    static const char* captions[] = {"机体技能2 图标0", "机体技能2 图标1", "机体技能2 图标2",
                                     "机体技能2 图标3"};
    for (int k = 0; k < 4; ++k) {
        v.push_back(fieldOf(icons[k], pictures[k], captions[k], 70, 1, toggle(),
                            static_cast<std::uint8_t>(1u << k)));
    }
    v.push_back(
        fieldOf("skills2", "List4", "机体技能1（右）", 72, 2, reversedBitSet(unitSkills2())));
    v.push_back(fieldOf("attribute", "Text35", "机体属性", 76, 1, hexNumber()));
    v.push_back(fieldOf("transfer", "Combo16", "换乘类型", 78, 1, choice(transferTypes())));
    v.push_back(
        fieldOf("pilot", "Combo12", "主机师", 80, 2, nameChoice(NameList::Pilots, kPilotCount)));
    return v;
}

std::vector<FieldDef> slotFields() {
    const auto terrain = choice(terrainRatings());
    const char* land = "地形适应";
    return {
        fieldOf("name", "Text20", "武器名称", 0, 40, nameCode("0000")),
        fieldOf("attack", "Text18", "攻击力", 42, 2, decimal()),
        fieldOf("range-min", "Text19", "近射程", 44, 1, decimal()),
        fieldOf("range-max", "Text22", "远射程", 45, 1, decimal()),
        fieldOf("hit", "Text23", "命中", 46, 2, signedDecimal()),
        fieldOf("ct", "Text24", "CT", 48, 2, signedDecimal()),
        fieldOf("ammo", "Text25", "残弹", 50, 1, decimal()),
        fieldOf("en-cost", "Text26", "消费EN", 51, 1, decimal()),
        fieldOf("morale", "Text27", "必要气力", 52, 1, decimal()),
        fieldOf("upgrade-type", "Combo15", "改造类型", 53, 1, choice(weaponUpgradeTypes())),
        fieldOf("terrain-air", "Combo3", "空", 54, 1, terrain, 0, land),
        fieldOf("terrain-land", "Combo4", "陆", 55, 1, terrain, 0, land),
        fieldOf("terrain-sea", "Combo5", "海", 56, 1, terrain, 0, land),
        fieldOf("terrain-space", "Combo6", "宇", 57, 1, terrain, 0, land),
        fieldOf("kind", "Combo14", "武器种类", 58, 1, choice(weaponKinds())),
        fieldOf("attribute", "Text30", "武器属性", 64, 1, hexNumber()),
        // Byte 65: the level in the high nibble, the required skill in the low nibble.
        fieldOf("level", "Text32", "等级", 65, 1, hexNumber(), 0xF0),
        fieldOf("required-skill", "Combo13", "必要技能", 65, 1, choice(requiredSkills()), 0x0F),
    };
}

}  // namespace

const TableDef& unitTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("unit", "机体", 0x210020, kUnitRecordSize, kUnitCount);
        d.fields = headerFields();
        d.labelList = NameList::Units;
        d.copyable = true;
        d.decoded = {{"name", "Text34"}};
        return d;
    }();
    return t;
}

const TableDef& weaponTable() {
    static const TableDef t = [] {
        TableDef d = tableOf("weapon", "武器", 0x210020 + 100, 70, kUnitCount * kSlotsPerUnit);
        d.perGroup = kSlotsPerUnit;
        d.groupStride = kUnitRecordSize;
        d.fields = slotFields();
        // "机体005 武器3": the unit's label and the slot as the slot list numbers it.
        d.labelRule = [](int index, NameSource* names) {
            return unitTable().label(index / kSlotsPerUnit, names) + " 武器" +
                   std::to_string(index % kSlotsPerUnit + 1);
        };
        d.decoded = {{"name", "Text21"}};
        return d;
    }();
    return t;
}

}  // namespace vorlan
