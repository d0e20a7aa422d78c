// The lab's files that downloads replace in the working folder: the catalogue and the header picture.
//
// A download lands under a temporary name of its own and replaces the file in use only once it is
// complete and, for the catalogue, reads as one: in a single rename over the old file, so a crash, a
// power cut or a wrong reply never leaves the program without its catalogue. UI thread only.
#pragma once

#include <string_view>

namespace lab_files {

// Replaces the catalogue (snapord2.ini) by the finished download `download` when it is a usable
// catalogue (see catalogue_check). The download is gone afterwards in every case. True when replaced.
bool installCatalogue(std::string_view download);

// Replaces the header picture (hlavicka.jpg) by the finished download `download`. The download is
// gone afterwards in every case. True when replaced.
bool installHeaderPicture(std::string_view download);

}  // namespace lab_files
