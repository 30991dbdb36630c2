#include "atlas/tables.h"

namespace atlas {

std::vector<Entry> pentagonTypes6to15() { return {}; }

}  // namespace atlas
