#include "transfer/lab_files.h"

#include "app/state_files.h"
#include "catalogue/catalogue_check.h"
#include "platform/files.h"

namespace lab_files {

namespace {

bool install(std::string_view download, std::string_view target) {
    if (platform::replaceFile(download, target))
        return true;
    platform::removeFile(download);
    return false;
}

}  // namespace

bool installCatalogue(std::string_view download) {
    if (!catalogue_check::isUsableCatalogue(download)) {
        platform::removeFile(download);
        return false;
    }
    return install(download, state_files::kCatalogue);
}

bool installHeaderPicture(std::string_view download) {
    return install(download, state_files::kHeaderPicture);
}

}  // namespace lab_files
