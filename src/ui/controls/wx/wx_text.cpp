#include "ui/controls/wx/wx_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "text/cp1250.h"

namespace ui::wxgui {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool fixedPitchFace(std::string_view face) {
    const std::string key = lowered(face);
    return key == "courier new" || key == "courier";
}

}  // namespace

wxString toWx(std::string_view text) {
    std::string utf8 = cp1250::toUtf8(text).text;
    std::string::size_type at = 0;
    while ((at = utf8.find("\r\n", at)) != std::string::npos)
        utf8.erase(at, 1);
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

std::string fromWx(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return cp1250::fromUtf8(std::string_view(utf8.data(), utf8.length())).text;
}

std::filesystem::path toFsPath(const wxString& name) {
#ifdef __WXMSW__
    return std::filesystem::path(name.ToStdWstring());
#else
    const wxScopedCharBuffer utf8 = name.utf8_str();
    return std::filesystem::path(std::string(utf8.data(), utf8.length()));
#endif
}

wxString installedFace(std::string_view face) {
#ifdef __WXMSW__
    // Windows has the faces the windows name ("MS Shell Dlg" is the system's own alias): a stand-in
    // would be missing there and leave the choice, fixed pitch included, to the font mapper.
    return toWx(face);
#else
    const std::string key = lowered(face);
    if (key == "ms shell dlg" || key == "ms shell dlg 2" || key == "ms sans serif" || key == "arial" ||
        key == "tahoma" || key == "microsoft sans serif")
        return wxASCII_STR("Liberation Sans");
    if (fixedPitchFace(face))
        return wxASCII_STR("Liberation Mono");
    return toWx(face);
#endif
}

wxFont toWxFont(const Font& font) {
    // A character height in pixels is the em height of a 96 dpi screen; the toolkit scales points to
    // the screen's resolution as the dialog font's points are. Whole points: the toolkit's own controls
    // drop fractions while drawing on a device context keeps them, and a fixed-pitch header must line up
    // with the list under it.
    const double points = font.height < 0 ? std::round(-font.height * 72.0 / 96.0) : font.height;
    wxFontInfo info(points);
    info.FaceName(installedFace(font.face)).Bold(font.bold()).Underlined(font.underline);
#ifdef __WXMSW__
    // Where the face is missing (Wine has no Courier New) the font mapper keeps to the pitch the family
    // asks for: the order list's header must stay in columns.
    if (fixedPitchFace(font.face))
        info.Family(wxFONTFAMILY_TELETYPE);
#endif
    return wxFont(info);
}

}  // namespace ui::wxgui
