// An upload file opened for sequential reading.
//
// Owned by the post that sends it and used by the thread that drives that post. Reports failures by
// results (with the system's error number); the client turns them into its error codes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace Tarvo {

class UploadFile {
  public:
    UploadFile() = default;
    ~UploadFile();
    UploadFile(UploadFile&& other) noexcept;
    UploadFile& operator=(UploadFile&& other) noexcept;
    UploadFile(const UploadFile&) = delete;
    UploadFile& operator=(const UploadFile&) = delete;

    // Opens a file by its name in the file system (on Windows in UTF-8); an object that is not open
    // when it cannot be opened (a folder counts as unopenable).
    static UploadFile Open(const std::string& fileSystemName);

    bool IsOpen() const { return file_ != nullptr; }
    // The size of the open file; none (with LastError()) when it cannot be queried.
    std::optional<std::uint64_t> Size();
    // Reads up to `size` bytes; fewer only at the end of the file or on an error (then LastError()
    // is not 0).
    std::size_t Read(char* buffer, std::size_t size);
    // Back to the first byte.
    bool Rewind();
    int LastError() const { return lastError_; }

  private:
    std::FILE* file_ = nullptr;
    int lastError_ = 0;
};

}  // namespace Tarvo
