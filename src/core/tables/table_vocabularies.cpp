#include "tables/table_vocabularies.h"

namespace vorlan {

const std::vector<std::string>& upgradeCostRows() {
    static const std::vector<std::string> v{"HP", "EN", "运动性", "装甲"};
    return v;
}

const std::vector<std::string>& upgradeIncrementRows() {
    static const std::vector<std::string> v{"第一种", "第二种", "第三种", "第四种", "第五种"};
    return v;
}

const std::vector<std::string>& trainingTypes() {
    static const std::vector<std::string> v{"00-不能养成不能升级", "01-能养成不能升级",
                                            "02-不能养成能升级", "03-能养成能升级"};
    return v;
}

}  // namespace vorlan
