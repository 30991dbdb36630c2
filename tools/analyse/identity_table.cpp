#include "tools/analyse/identity_table.h"

#include <set>

#include "tools/analyse/report.h"

namespace tools {

namespace {

// "1 hexagon, 3 quadrilaterals, 2 triangles", largest faces first.
std::string perPeriod(const std::map<int, int>& faces) {
  std::string text;
  for (auto it = faces.rbegin(); it != faces.rend(); ++it) {
    const std::string shape = polygonName(it->first);
    text += (text.empty() ? "" : ", ") + std::to_string(it->second) + " " +
            (it->second == 1 ? shape : shape + "s");
  }
  return text;
}

}  // namespace

std::string identityHeader() {
  return "# What each tiling is, from tilings-analyse all --identity\n"
         "# name\tgroup\torbifold\torbits\tper period\tpentagon types\n";
}

std::string identityRow(std::string_view name, const std::vector<faces::Segment2>& segments) {
  const faces::Analysis analysis = faces::analyse(segments);
  const Periodicity p = periodicityOf(analysis);
  const symmetry::Identity& id = p.identity;
  std::set<int> types;
  for (const std::vector<int>& t : id.types) types.insert(t.begin(), t.end());
  const std::string fields[] = {std::string(name),
                                id.group ? std::string(id.group->name) : "",
                                id.group ? std::string(id.group->orbifold) : "",
                                id.group ? symmetry::orbitWords(id.orbits) : "",
                                p.lattice ? perPeriod(p.perPeriod.faces) : "",
                                symmetry::typeList(std::vector<int>(types.begin(), types.end()))};
  std::string row;
  for (const std::string& f : fields)
    row.append(row.empty() ? "" : "\t").append(f.empty() ? "-" : f);
  return row.append("\n");
}

}  // namespace tools
