#include "stroke_order.h"

#include <string_view>

namespace lexomir::xinhua {
namespace {

constexpr std::string_view kNameSeparator = "、";

int nameCount(const std::string& names) {
    int count = 1;
    for (std::size_t at = names.find(kNameSeparator); at != std::string::npos;
         at = names.find(kNameSeparator, at + kNameSeparator.size()))
        ++count;
    return count;
}

}  // namespace

StrokeOrderTable readStrokeOrderTable(std::istream& in) {
    StrokeOrderTable table;
    std::string line;
    if (!std::getline(in, line) || line != "zi\tnames")
        throw BuildError("stroke order table, line 1: expected the header zi<TAB>names");
    for (int number = 2; std::getline(in, line); ++number) {
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string::npos || tab + 1 == line.size() ||
            line.find('\t', tab + 1) != std::string::npos)
            throw BuildError("stroke order table, line " + std::to_string(number) +
                             ": expected zi<TAB>names");
        table.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return table;
}

StrokeOrderSummary addStrokeOrder(std::vector<XinHuaEntry>& entries,
                                  const StrokeOrderTable& table) {
    StrokeOrderSummary summary;
    for (XinHuaEntry& entry : entries) {
        const auto found = table.find(entry.zi);
        if (found == table.end()) continue;
        if (nameCount(found->second) != entry.bihua) {
            ++summary.countDiffers;
            continue;
        }
        entry.bishun = found->second;
        ++summary.named;
    }
    return summary;
}

}  // namespace lexomir::xinhua
