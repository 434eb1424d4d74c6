#include "tables/pilot_vocabularies.h"

namespace vorlan {

const std::vector<std::string>& pilotSpiritCommands() {
    static const std::vector<std::string> v{
        "----", "熱血",   "魂",   "ひらめき", "不屈",   "鉄壁", "集中", "必中",
        "感応", "加速",   "覚醒", "根性",     "ド根性", "信頼", "友情", "補給",
        "気合", "気迫",   "激励", "てかげん", "狙撃",   "直撃", "期待", "偵察",
        "脱力", "かく乱", "愛",   "幸運",     "祝福",   "努力", "応援"};
    return v;
}

}  // namespace vorlan
