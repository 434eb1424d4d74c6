#include "tables/window_vocabularies.h"

namespace vorlan {

const std::vector<std::string>& gutsLevels() {
    static const std::vector<std::string> v{"L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9"};
    return v;
}

const std::vector<std::string>& gutsRows() {
    static const std::vector<std::string> v{"HP100%", "HP90%", "HP80%", "HP70%", "HP60%",
                                            "HP50%",  "HP40%", "HP30%", "HP20%", "HP10%"};
    return v;
}

const std::vector<std::string>& gutsColumns() {
    static const std::vector<std::string> v{"命中補正", "回避補正", "装甲補正", "必杀補正"};
    return v;
}

const std::vector<std::string>& barrierNames() {
    static const std::vector<std::string> v{
        "ビームコート",       "ABCマント",          "Ｉフィールド",   "Ｉフィールド△",
        "ＩフィールドX3",     "プロテクトシェード", "ゾンダーバリア", "チャクラシールド",
        "チャクラシールド强", "念動フィールド",     "ネッサーバリア", "G·テリトリー",
        "プロテクトウォール"};
    return v;
}

const std::vector<std::string>& barrierTypes() {
    static const std::vector<std::string> v{"伤害无效", "伤害减轻"};
    return v;
}

const std::vector<std::string>& partNames() {
    static const std::vector<std::string> v{"ブースター",
                                            "メガブースター",
                                            "アポジモーター",
                                            "学習型コンピューター",
                                            "マグネットコーティング",
                                            "バイオセンサー 運動性+10",
                                            "サイコフレーム",
                                            "バイオ?コンピュータ",
                                            "デュアルセンサー",
                                            "マルチセンサー",
                                            "高性能照準器",
                                            "ハロ",
                                            "ケン太のポケコン",
                                            "高性能レーダー",
                                            "ミノフスキークラフト",
                                            "ミノフスキードライブ",
                                            "スラスターモジュール",
                                            "防塵装置",
                                            "スクリューモジュール",
                                            "A-アダプター",
                                            "S-アダプター",
                                            "チョバムアーマー",
                                            "ハイブリッドアーマー",
                                            "超合金Z",
                                            "超合金ニューZ",
                                            "ゾルマニウム合金",
                                            "大型ジェネレーター",
                                            "メガジェネレーター",
                                            "ギガジェネレーター",
                                            "補助GSライド",
                                            "オーガニックビット",
                                            "ソーラーパネル",
                                            "対ビームコーティング",
                                            "Iフィールドバリア",
                                            "グラビティテリトリー",
                                            "ハイパージャマー",
                                            "プロペラントタンク",
                                            "カートリッジ",
                                            "リペアキット",
                                            "スーパーリペアキット",
                                            "OVAのコロッケ",
                                            "セシリーのパン",
                                            "勝利の鍵",
                                            "カットナライザー",
                                            "ハチマキ",
                                            "ねじりハチマキ",
                                            "勇者の印",
                                            "鋼の魂",
                                            "コストダウン"};
    return v;
}

const std::vector<std::string>& protagonistEntries() {
    static const std::vector<std::string> v = [] {
        const char* signs[][2] = {
            {"金牛座", "4/20~5/20"},   {"双子座", "5/21~6/21"},   {"巨蟹座", "6/22~7/22"},
            {"狮子座", "7/23~8/22"},   {"处女座", "8/23~9/22"},   {"天秤座", "9/23~10/23"},
            {"天蝎座", "10/24~11/21"}, {"射手座", "11/22~12/21"}, {"摩羯座", "12/22~1/19"},
            {"水瓶座", "1/20~2/18"},   {"双鱼座", "2/19~3/20"},   {"白羊座", "3/21~4/19"}};
        // Item 8 × sign + 4 × prefix (S, R) + blood type (A, B, AB, O).
        std::vector<std::string> items;
        for (const auto& sign : signs) {
            for (const char* prefix : {"S", "R"}) {
                for (const char* blood : {"A", "B", "AB", "O"}) {
                    items.push_back(std::string(prefix) + sign[0] + "[" + sign[1] + "]" + blood +
                                    "型");
                }
            }
        }
        items.push_back("S系4P生日 11月11日B型");
        items.push_back("R系4P生日 11月11日B型");
        return items;
    }();
    return v;
}

const std::vector<std::string>& protagonistSpirits() {
    // This window's own texts for the spirit codes; the pilot tab has its own list.
    static const std::vector<std::string> v{
        "----", "熱血",   "魂",   "ひらめき", "不屈",   "铁壁", "集中", "必中",
        "感应", "加速",   "觉醒", "根性",     "ド根性", "信赖", "友情", "补给",
        "气合", "气迫",   "激励", "加手减",   "狙击",   "直击", "期待", "侦察",
        "脱力", "かく乱", "爱",   "幸运",     "祝福",   "努力", "应援"};
    return v;
}

}  // namespace vorlan
