#include "image/header_picture.h"

#include <array>
#include <cstdio>

#include "app/state_files.h"
#include "image/builtin_pictures.h"
#include "platform/files.h"

namespace {

constexpr std::size_t kSignatureLength = 11;
constexpr ThumbnailBox kBox{HeaderPicture::kWidth, HeaderPicture::kHeight};

// Deletes the header file unless it may be a JFIF file. A file that cannot be opened is left alone.
void deleteFileUnlessJfif() {
    std::FILE* file = platform::openFile(state_files::kHeaderPicture, "rb");
    if (!file)
        return;
    std::array<char, kSignatureLength> first{};
    const auto got = std::fread(first.data(), 1, first.size(), file);
    std::fclose(file);
    if (!mayBeJfif(std::string_view(first.data(), got)))
        platform::removeFile(state_files::kHeaderPicture);
}

}  // namespace

bool mayBeJfif(std::string_view firstBytes) {
    // -1 marks the two free positions.
    static constexpr std::array<int, kSignatureLength> kSignature = {0xFF, 0xD8, 0xFF, 0xE0, -1,  -1,
                                                                     0x4A, 0x46, 0x49, 0x46, 0x00};
    for (std::size_t i = 0; i < kSignature.size(); ++i) {
        const bool free = kSignature[i] < 0;
        if (i >= firstBytes.size())
            return free;
        if (!free && static_cast<unsigned char>(firstBytes[i]) != kSignature[i])
            return false;
    }
    return true;
}

const Picture& HeaderPicture::pictureToDraw() {
    if (loadCounter_ > 0) {
        loadCounter_ = 1;
        if (!picture_.isValid()) {
            picture_.destroy();
            platform::removeFile(state_files::kHeaderPicture);
        }
    }
    if (!picture_.isValid()) {
        deleteFileUnlessJfif();
        picture_.destroy();
        if (loadCounter_ == 0)
            picture_.load(state_files::kHeaderPicture, PictureType::Unknown, kBox);
        ++loadCounter_;
        if (!picture_.isValid())
            picture_ = builtinPicture(builtin::kHeaderBanner);
    }
    if (picture_.isValid())
        picture_.thumbnail(kWidth, kHeight, kBackground);
    return picture_;
}

void HeaderPicture::reloadAfterUpdate() {
    Picture fresh;
    if (fresh.load(state_files::kHeaderPicture, PictureType::Unknown, kBox))
        picture_ = std::move(fresh);
}
