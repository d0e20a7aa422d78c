#include "transfer/order_folder.h"

#include <cstdint>
#include <cstdio>

#include "platform/files.h"
#include "platform/path.h"
#include "text/format.h"

namespace order_folder {

namespace {

// A file is written under this name beside its final one and renamed when complete. No name of the
// folder ends so: the order file and the photographs all begin with their number.
std::string temporaryName(std::string_view target) {
    return std::string(target) + ".tmp";
}

// The order file under a temporary name, flushed, then renamed.
bool writeOrderFile(const OrderDocument& document, const std::string& target) {
    const std::string temporary = temporaryName(target);
    const bool written = document.writeOrderFile(temporary) == 0 && platform::flushToDisk(temporary) &&
                         platform::replaceFile(temporary, target);
    if (!written)
        platform::removeFile(temporary);
    return written;
}

// Streams the photograph into the folder, never holding it whole in memory. The copy counts only when
// it has exactly the size the photograph had when it was opened.
bool copyPhoto(const std::string& source, const std::string& target) {
    const auto expected = platform::fileSize(source);
    std::FILE* in = platform::openFile(source, "rb");
    if (in == nullptr || !expected) {
        if (in != nullptr)
            std::fclose(in);
        return false;
    }
    const bool copied = platform::writeFileAtomically(target, [in, &expected](std::FILE* out) {
        char buffer[64 * 1024];
        std::uint64_t total = 0;
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            if (std::fwrite(buffer, 1, n, out) != n)
                return false;
            total += n;
        }
        return std::ferror(in) == 0 && total == *expected;
    });
    std::fclose(in);
    return copied;
}

}  // namespace

std::string firstFreeFolder(std::string_view chosenFolder) {
    for (int number = 0;; ++number) {
        std::string candidate = platform::joinPath(chosenFolder, text::format("Snapord-save-%04d", number));
        if (!platform::exists(candidate))
            return candidate;
    }
}

std::string photoName(std::size_t number, std::string_view orderId, std::string_view fileName) {
    return text::format("%03d_%s_%s", number, orderId, fileName);
}

SaveReport saveOrder(const OrderDocument& document, std::string_view chosenFolder) {
    SaveReport report;
    report.folder = firstFreeFolder(chosenFolder);
    if (!platform::createFolder(report.folder))
        return report;
    report.folderCreated = true;

    report.orderFileWritten = writeOrderFile(document, platform::joinPath(report.folder, kOrderFileName));

    const std::string& orderId = document.identity().orderId;
    std::size_t number = 0;
    for (const DocumentEntry& entry : document.entries()) {
        if (entry.used == 0)
            continue;
        ++number;  // used up even when the copy fails: the names follow the order file
        const std::string source = platform::joinPath(entry.folder, entry.fileName);
        const std::string target =
            platform::joinPath(report.folder, photoName(number, orderId, entry.fileName));
        if (!platform::canOpenForReading(source)) {
            report.problems.push_back({CopyProblem::Kind::Missing, source, target});
            continue;
        }
        if (!copyPhoto(source, target)) {
            report.problems.push_back({CopyProblem::Kind::Failed, source, target});
            continue;
        }
        ++report.photosCopied;
    }

    // Each file was flushed before its rename; the folder's entries, and the new folder's own entry in
    // the chosen one, still have to reach the medium.
    report.flushed = platform::flushToDisk(report.folder) && platform::flushToDisk(chosenFolder);
    return report;
}

}  // namespace order_folder
