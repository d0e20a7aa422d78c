// The parameters of a post and their URL-encoded form.
//
// The list is ordered by name without regard to case (ASCII letters folded to lower case, then bytes
// compared); parameters with equal names keep the order in which they were added. Plain values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Tarvo {

enum FormParamFlags : std::uint32_t {
    ParamFile = 1u << 0,          // the value is the path of a file to upload (multipart posts only)
    ParamNameEncoded = 1u << 1,   // the name is sent as given, without form encoding
    ParamValueEncoded = 1u << 2,  // the value is sent as given
};

struct formparam {
    std::string name;
    std::optional<std::string> value;  // none: sent as empty (for a file: no file)
    std::uint32_t flags = 0;

    bool IsFile() const { return (flags & ParamFile) != 0; }
};

class FormParamList {
  public:
    // Inserts after every parameter whose name equals `param.name` without regard to case.
    void Add(formparam param);
    const std::vector<formparam>& Items() const { return items_; }
    std::size_t Size() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    const formparam& operator[](std::size_t index) const { return items_[index]; }

  private:
    std::vector<formparam> items_;
};

// Form encoding: 'A'-'Z', 'a'-'z' and '0'-'9' pass, a blank becomes '+', every other byte "%XX" with
// upper-case hexadecimal digits.
std::string FormEncode(std::string_view text);

}  // namespace Tarvo
