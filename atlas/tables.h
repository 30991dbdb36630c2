// The atlas's tables, each part in a file of its own.
#pragma once

#include <vector>

#include "atlas/atlas.h"

namespace atlas {

std::vector<Entry> pentagonTypes1to5();    // pentagons_1_5.cpp
std::vector<Entry> pentagonTypes6to15();   // pentagons_6_15.cpp
std::vector<Entry> archimedeanTilings();   // archimedean.cpp

}  // namespace atlas
