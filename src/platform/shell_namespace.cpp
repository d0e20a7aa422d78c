#include "platform/shell_namespace.h"

#include "platform/collation.h"

namespace platform {

int compareShellItems(const ShellItem& a, const ShellItem& b) {
    if (a.sortRank != b.sortRank)
        return a.sortRank < b.sortRank ? -1 : 1;
    return compareNaturally(a.displayName.value_or(""), b.displayName.value_or(""));
}

int ShellNamespace::compare(const ShellItem& a, const ShellItem& b) const {
    return compareShellItems(a, b);
}

}  // namespace platform
