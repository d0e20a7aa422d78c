#include "app/working_folder.h"

#include <cstdio>

#include "app/state_files.h"
#include "buildinfo/build_constants.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/program_files.h"

namespace {

std::string& recordedWorkingFolder() {
    static std::string folder;
    return folder;
}

}  // namespace

std::string workingFolderPath(std::string_view base) {
    return platform::joinPath(platform::joinPath(base, build::kProductName), build::kVersion);
}

std::string createWorkingFolder(std::string_view base) {
    // A fresh home may not have its data folder yet (~/.local/share); make it, as file managers do.
    if (!base.empty())
        platform::createFolders(base);
    platform::createFolder(platform::joinPath(base, build::kProductName));
    std::string folder = workingFolderPath(base);
    platform::createFolder(folder);
    return folder;
}

void provideCatalogue(std::string_view workingFolder, std::string_view startFolder) {
    const std::string target = platform::joinPath(workingFolder, state_files::kCatalogue);
    if (platform::canOpenForReading(target))
        return;
    platform::copyFile(platform::joinPath(startFolder, state_files::kCatalogue), target);
}

bool honourFirstRunMarker() {
    if (!platform::canOpenForReading(state_files::kFirstRunMarker))
        return false;
    std::FILE* order = platform::openFile(state_files::kOrder, "wb");
    if (order == nullptr)
        return false;
    if (std::fclose(order) != 0)
        return false;
    platform::removeFile(state_files::kFirstRunMarker);
    return true;
}

std::string settleWorkingFolder(const platform::EnvironmentLookup& environment) {
    const std::string folder = createWorkingFolder(platform::applicationDataFolder(environment));
    provideCatalogue(folder, platform::currentFolder().value_or("."));
    // Started elsewhere (from the desktop's menu, say), the program ships its catalogue in its own
    // data folder.
    if (const auto shipped = platform::programDataFolder())
        provideCatalogue(folder, *shipped);
    platform::changeFolder(folder);
    honourFirstRunMarker();
    recordedWorkingFolder() = folder;
    return folder;
}

const std::string& workingFolder() {
    return recordedWorkingFolder();
}
