#include "tables/unit_vocabularies.h"

namespace vorlan {

const std::vector<std::string>& unitSizes() {
    static const std::vector<std::string> v{"SS", "S", "M", "L", "LL", "3L"};
    return v;
}

const std::vector<std::string>& moveTypes() {
    static const std::vector<std::string> v{"---",  "空",   "陆",     "空陆", "海",
                                            "空海", "陆海", "空陆海", "地中"};
    return v;
}

const std::vector<std::string>& transferTypes() {
    static const std::vector<std::string> v{"不能换乘", "UC高达系", "W高达系", "魔神系", "盖塔系"};
    return v;
}

const std::vector<std::string>& unitSkills1() {
    static const std::vector<std::string> v{
        "----------",       "----------",     "----------",         "プロテクトウォール",
        "Gテリトリー",      "ネッサーバリア", "念動フィールド",     "チャクラシールド",
        "チャクラシールド", "ゾンダーバリア", "プロテクトシェード", "Ｉフィールド×3",
        "Ｉフィールド△",    "Ｉフィールド",   "ABCマント",          "ビームコート"};
    return v;
}

const std::vector<std::string>& unitSkills2() {
    static const std::vector<std::string> v{
        "----------",     "超弹性金属",     "変形",           "パイタルジャンプ",
        "ゼロシステム",   "マジンパワー",   "ＥＮ回復（大）", "ＥＮ回復（中）",
        "ＥＮ回復（小）", "ＨＰ回復（大）", "ＨＰ回復（中）", "ＨＰ回復（小）",
        "分身",           "预备",           "广域护盾",       "キャリアー机能"};
    return v;
}

const std::vector<std::string>& weaponUpgradeTypes() {
    static const std::vector<std::string> v{"10改－2200", "10改－1900", "10改－1600", "10改－1300",
                                            "10改－800"};
    return v;
}

const std::vector<std::string>& weaponKinds() {
    static const std::vector<std::string> v{"00－通常", "01－通常",   "02－ALL",   "03－ALL",
                                            "04－PLA",  "05－PLA",    "06－ALL",   "07－???",
                                            "08－???",  "09－合体技", "0A－合体技"};
    return v;
}

const std::vector<std::string>& requiredSkills() {
    static const std::vector<std::string> v{"--------", "抗体反应", "ニュータイプ"};
    return v;
}

}  // namespace vorlan
