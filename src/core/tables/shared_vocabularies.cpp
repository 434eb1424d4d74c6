#include "tables/shared_vocabularies.h"

namespace vorlan {

const std::vector<std::string>& terrainRatings() {
    static const std::vector<std::string> v{"S", "A", "B", "C", "D", "E"};
    return v;
}

}  // namespace vorlan
