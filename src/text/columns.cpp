#include "text/columns.h"

namespace text {

std::string fitColumn(std::string_view value, std::size_t width) {
    if (width == 0)
        return {};
    if (value.size() >= width) {
        std::string cut(value.substr(0, width - 1));
        cut += ' ';
        return cut;
    }
    std::size_t lead = (width - value.size()) / 2;
    if (lead > 0)
        --lead;
    std::string fitted(lead, ' ');
    fitted += value;
    fitted.resize(width, ' ');
    return fitted;
}

}  // namespace text
