// Texts and fonts at the edge between the program and the toolkit.
//
// The program's texts are cp1250 bytes; the toolkit's are Unicode. Every conversion goes through here,
// character by character, so a character that one side cannot hold never empties a whole text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <wx/font.h>
#include <wx/string.h>

#include "ui/controls/font.h"

namespace ui::wxgui {

// cp1250 to the toolkit; line breaks "\r\n" become "\n".
wxString toWx(std::string_view text);
// The toolkit to cp1250; a character cp1250 cannot hold becomes '?'.
std::string fromWx(const wxString& text);

// A file-system name the toolkit gives (a command-line argument, a dropped file, a chosen folder) as
// the file system's path: UTF-8 on Linux, UTF-16 on Windows, whose narrow paths are not Unicode.
std::filesystem::path toFsPath(const wxString& name);

// The installed face that stands in for a face the windows ask for: metric-compatible faces for the
// Windows faces, so that texts take the room they were laid out for. On Windows the face itself.
wxString installedFace(std::string_view face);

// The toolkit's font for a font the windows ask for (negative height: character height in pixels).
wxFont toWxFont(const Font& font);

}  // namespace ui::wxgui
