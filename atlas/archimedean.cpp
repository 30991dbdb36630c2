#include "atlas/tables.h"

namespace atlas {

std::vector<Entry> archimedeanTilings() { return {}; }

}  // namespace atlas
