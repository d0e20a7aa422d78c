#include "text/bounded.h"

namespace text {

std::string oneLine(std::string_view value) {
    std::string line(value);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

}  // namespace text
