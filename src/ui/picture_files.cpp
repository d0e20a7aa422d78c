#include "ui/picture_files.h"

#include <filesystem>
#include <system_error>

#include "image/picture.h"
#include "platform/fs_names.h"

namespace fs = std::filesystem;

std::optional<PictureFiles> listPictureFiles(std::string_view folder) {
    const auto path = platform::toFsPath(folder);
    if (!path || path->empty())
        return std::nullopt;
    std::error_code error;
    fs::directory_iterator entries(*path, fs::directory_options::skip_permission_denied, error);
    if (error)
        return std::nullopt;
    PictureFiles files;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        // The endings are plain ASCII, so they are found in the UTF-8 name as well, also where cp1250
        // cannot write the rest of it.
        const std::u8string utf8 = entries->path().filename().u8string();
        const std::string_view name(reinterpret_cast<const char*>(utf8.data()), utf8.size());
        if (name.empty() || name.front() == '.' || pictureTypeOfName(name) == PictureType::Unknown)
            continue;
        std::error_code typeError;
        if (entries->is_directory(typeError))
            continue;
        if (auto cp1250Name = platform::fromFsName(entries->path().filename()))
            files.names.push_back(std::move(*cp1250Name));
        else
            ++files.leftOut;
    }
    return files;
}
