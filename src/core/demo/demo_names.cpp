#include "demo/demo_names.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace vorlan {

namespace {

constexpr std::array<std::string_view, 16> kUnitHeads = {
    "雷霆", "苍穹", "赤焰", "银翼", "黑铁", "天狼", "青龙", "白虎",
    "玄武", "朱雀", "疾风", "星辰", "烈火", "神威", "破军", "流光"};
constexpr std::array<std::string_view, 12> kUnitTails = {
    "号", "王", "改", "型", "零式", "战神", "巨人", "骑士", "守护者", "强袭型", "重装型", "指挥型"};

constexpr std::array<std::string_view, 20> kWeapons = {
    "火神炮", "光束步枪", "光束军刀", "导弹",     "机关枪",   "加农炮", "激光炮",
    "火箭拳", "热能剑",   "等离子炮", "重力波",   "必杀剑",   "散弹枪", "鱼雷",
    "电磁鞭", "飞拳",     "超级光束", "全弹发射", "合体攻击", "浮游炮"};

constexpr std::array<std::string_view, 16> kSurnames = {"王",   "李",   "张",   "刘",  "陈", "杨",
                                                        "赵",   "黄",   "周",   "吴",  "林", "高",
                                                        "司马", "欧阳", "上官", "东方"};
constexpr std::array<std::string_view, 20> kGivenChars = {"明", "华", "强", "伟", "芳", "秀", "英",
                                                          "杰", "龙", "雪", "云", "飞", "翔", "远",
                                                          "志", "勇", "星", "辰", "光", "海"};
constexpr std::array<std::string_view, 10> kNicknames = {
    "苍蓝之星", "疾风", "银狼", "黑骑士", "流星", "雷神", "孤鹰", "铁拳", "天使", "魔王"};

std::string threeDigits(int n) {
    const std::string digits = std::to_string(n);
    return std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
}

template <typename T, std::size_t N>
std::string_view at(const std::array<T, N>& items, int k) {
    return items[static_cast<std::size_t>(k) % N];
}

}  // namespace

std::string demoUnitName(int unit) {
    if (unit % 4 == 0)
        return "机体" + threeDigits(unit);
    std::string name(at(kUnitHeads, unit * 7));
    name += at(kUnitTails, unit / 3);
    // A model number keeps the invented names apart once the word pairs repeat.
    if (unit % 5 == 1)
        name += "-" + std::to_string(unit % 9 + 1);
    if (unit % 7 == 3)
        name += "MK" + std::to_string(unit % 3 + 2);
    return name;
}

std::string demoWeaponName(int unit, int slot) {
    std::string name(at(kWeapons, unit * 3 + slot * 5));
    if ((unit + slot) % 6 == 5)
        name = "改良" + name;
    return name;
}

DemoPilotName demoPilotName(int pilot) {
    DemoPilotName name;
    if (pilot % 2 == 0)
        name.nickname = std::string(at(kNicknames, pilot / 2));
    name.surname = std::string(at(kSurnames, pilot * 5));
    name.given = std::string(at(kGivenChars, pilot * 3));
    if (pilot % 3 != 0)
        name.given += at(kGivenChars, pilot * 7 + 1);
    return name;
}

}  // namespace vorlan
