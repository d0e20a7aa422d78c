#include "documents/document_file.h"

#include "platform/files.h"
#include "text/bounded.h"

namespace {
constexpr std::string_view kLineEnd = "\r\r\n";
}

DocumentFile::DocumentFile(std::string_view path) : file_(platform::openFile(path, "wb")) {}

DocumentFile::~DocumentFile() {
    close();
}

void DocumentFile::line(std::string_view text) {
    if (file_ == nullptr)
        return;
    const std::string oneLine = text::oneLine(text);
    if (std::fwrite(oneLine.data(), 1, oneLine.size(), file_) != oneLine.size() ||
        std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), file_) != kLineEnd.size()) {
        failed_ = true;
    }
}

bool DocumentFile::close() {
    if (file_ == nullptr)
        return false;
    // Buffered bytes reach the disk only here, so a full disk often shows first at the close. The flush
    // comes first and on its own: Windows' C library closes a stream whose last bytes could not be
    // written without saying so.
    if (std::fflush(file_) != 0 || std::ferror(file_) != 0)
        failed_ = true;
    if (std::fclose(file_) != 0)
        failed_ = true;
    file_ = nullptr;
    return !failed_;
}
