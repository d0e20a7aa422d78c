// Writing the lines of the lab's document files.
//
// The lab's order file and LACE file were born from formats ending in "\r\n" written through a text-mode
// stream, which turned the LF into CR LF: on disk every line ends in CR CR LF, and the lab reads them so.
// DocumentFile writes exactly those bytes on every platform and remembers whether any write failed, so a
// full disk is reported instead of leaving a cut document behind a success.
#pragma once

#include <cstdio>
#include <string_view>

class DocumentFile {
  public:
    // Creates or truncates the file at the cp1250 `path`.
    explicit DocumentFile(std::string_view path);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    bool opened() const { return file_ != nullptr; }

    // Writes `text` and the line end. A CR or LF inside `text` is written as a blank: a value can never
    // add lines of its own to the document.
    void line(std::string_view text);
    void emptyLine() { line({}); }

    // Closes the file; true when it was opened and every write and the close succeeded.
    bool close();

  private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};
