// The shell namespace of Windows, through the shell's own COM interfaces: the desktop folder binds and
// enumerates folders, gives display and parsing names, attributes and the order of items; the special
// folders come from their codes; icons are indices into the system's small-icon list.
//
// A folder is named by its parsing name across the interface, so each listing parses that name again
// (from the desktop) and binds it; each item keeps its absolute identifier for the comparisons.
#include <windows.h>
// shlobj.h and commctrl.h need the types windows.h declares.
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/fs_names.h"
#include "platform/path.h"
#include "platform/shell_namespace.h"

namespace platform {

namespace {

// An item identifier list from the shell's allocator, freed with it.
struct IdListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListFree>;

// Holds one reference to a COM object.
template <class T>
class ComRef {
  public:
    ComRef() = default;
    explicit ComRef(T* object) : object_(object) {}
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // For the functions that hand out a new reference.
    T** out() {
        reset();
        return &object_;
    }
    void reset() {
        if (object_ != nullptr)
            object_->Release();
        object_ = nullptr;
    }

  private:
    T* object_ = nullptr;
};

// The computer and the recycle bin, by their class identifiers.
constexpr std::wstring_view kComputerClass = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
constexpr std::wstring_view kRecycleBinClass = L"::{645FF040-5081-101B-9F08-00AA002F954E}";

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towupper(x) == std::towupper(y);
           });
}

// The text of a name the shell returned; an ANSI name (older shell extensions) is in the ANSI code page.
std::optional<std::wstring> textOf(STRRET& name, PCUITEMID_CHILD item) {
    switch (name.uType) {
        case STRRET_WSTR: {
            std::wstring text(name.pOleStr);
            CoTaskMemFree(name.pOleStr);
            return text;
        }
        case STRRET_OFFSET:
        case STRRET_CSTR: {
            const char* ansi =
                name.uType == STRRET_CSTR ? name.cStr : reinterpret_cast<const char*>(item) + name.uOffset;
            const int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
            if (length <= 0)
                return std::nullopt;
            std::wstring text(static_cast<std::size_t>(length), L'\0');
            MultiByteToWideChar(CP_ACP, 0, ansi, -1, text.data(), length);
            text.resize(static_cast<std::size_t>(length - 1));
            return text;
        }
        default:
            return std::nullopt;
    }
}

// The name of `item` (relative to `folder`) in the given form; none when the shell gives none.
std::optional<std::wstring> nameOf(IShellFolder* folder, PCUITEMID_CHILD item, SHGDNF form) {
    STRRET name = {};
    if (FAILED(folder->GetDisplayNameOf(item, form, &name)))
        return std::nullopt;
    return textOf(name, item);
}

// The item's index in the system's small-icon list (its open icon with SHGFI_OPENICON).
int systemIconOf(PCIDLIST_ABSOLUTE item, UINT open) {
    SHFILEINFOW info = {};
    const auto list = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof info,
                                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | open);
    return list != 0 ? info.iIcon : ShellItem::kNoSystemIcon;
}

// The portable icon kind of a folder, for a backend without the system's list.
ShellIcon iconKindOf(const std::wstring& parsingName, const std::optional<std::wstring>& profile) {
    if (equalsIgnoringCase(parsingName, kComputerClass))
        return ShellIcon::Computer;
    if (equalsIgnoringCase(parsingName, kRecycleBinClass))
        return ShellIcon::Trash;
    if (profile && equalsIgnoringCase(parsingName, *profile))
        return ShellIcon::Home;
    // A drive's root: "C:\".
    if (parsingName.size() == 3 && parsingName[1] == L':' && parsingName[2] == L'\\') {
        switch (GetDriveTypeW(parsingName.c_str())) {
            case DRIVE_CDROM:
                return ShellIcon::CdRom;
            case DRIVE_REMOVABLE:
                return ShellIcon::Removable;
            default:
                return ShellIcon::HardDisk;
        }
    }
    return ShellIcon::Folder;
}

std::optional<std::wstring> profileFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, folder)))
        return std::nullopt;
    return std::wstring(folder);
}

// The pixels of an icon: its colour bitmap as 32-bit top-down rows, with the alpha of the bitmap when it
// has one, else the transparency of the icon's mask.
std::optional<IconPixels> pixelsOf(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return std::nullopt;
    std::optional<IconPixels> pixels;
    BITMAP colour = {};
    HDC screen = GetDC(nullptr);
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof colour, &colour) != 0) {
        const int width = colour.bmWidth;
        const int height = colour.bmHeight;
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;  // top-down
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
        std::vector<std::uint8_t> mask(bgra.size());
        if (GetDIBits(screen, info.hbmColor, 0, height, bgra.data(), &format, DIB_RGB_COLORS) == height) {
            bool hasAlpha = false;
            for (std::size_t i = 3; i < bgra.size() && !hasAlpha; i += 4)
                hasAlpha = bgra[i] != 0;
            const bool hasMask =
                info.hbmMask != nullptr &&
                GetDIBits(screen, info.hbmMask, 0, height, mask.data(), &format, DIB_RGB_COLORS) == height;
            IconPixels out;
            out.width = width;
            out.height = height;
            out.rgba.resize(bgra.size());
            for (std::size_t i = 0; i < bgra.size(); i += 4) {
                out.rgba[i] = bgra[i + 2];
                out.rgba[i + 1] = bgra[i + 1];
                out.rgba[i + 2] = bgra[i];
                // A set mask bit is a transparent pixel.
                out.rgba[i + 3] = hasAlpha ? bgra[i + 3] : (hasMask && mask[i] != 0 ? 0 : 255);
            }
            pixels = std::move(out);
        }
    }
    ReleaseDC(nullptr, screen);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    return pixels;
}

class WindowsShellNamespace final : public ShellNamespace {
  public:
    WindowsShellNamespace() {
        // The program initialises OLE at its start; a namespace made earlier (or in a test) starts COM
        // for this thread itself, and ends it again.
        const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        comStarted_ = SUCCEEDED(started);
        SHGetDesktopFolder(desktop_.out());
        SHFILEINFOW info = {};
        systemIcons_ = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        profile_ = profileFolder();
    }

    ~WindowsShellNamespace() override {
        desktop_.reset();
        if (comStarted_)
            CoUninitialize();
    }

    WindowsShellNamespace(const WindowsShellNamespace&) = delete;
    WindowsShellNamespace& operator=(const WindowsShellNamespace&) = delete;

    ShellItem desktop() const override {
        ShellItem item;
        item.parsingName = std::string();
        item.isFolder = true;
        item.hasSubfolders = true;
        item.icon = item.openIcon = ShellIcon::Desktop;
        ITEMIDLIST* found = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &found))) {
            const IdList desktop(found);
            SHFILEINFOW info = {};
            if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop.get()), 0, &info, sizeof info,
                               SHGFI_PIDL | SHGFI_DISPLAYNAME) != 0)
                item.displayName = fromWide(info.szDisplayName);
            item.systemIcon = systemIconOf(desktop.get(), 0);
            item.systemOpenIcon = systemIconOf(desktop.get(), SHGFI_OPENICON);
        }
        return item;
    }

    bool enumerate(std::string_view parsingName,
                   const std::function<bool(const ShellItem&)>& visit) const override {
        if (!desktop_)
            return false;
        // The folder and its absolute identifier (the desktop's is the empty list).
        IdList absolute;
        ComRef<IShellFolder> folder;
        if (parsingName.empty()) {
            ITEMIDLIST* found = nullptr;
            if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &found)))
                return false;
            absolute.reset(found);
            desktop_->AddRef();
            *folder.out() = desktop_.get();
        } else {
            absolute = parse(parsingName);
            if (!absolute || FAILED(desktop_->BindToObject(absolute.get(), nullptr, IID_IShellFolder,
                                                           reinterpret_cast<void**>(folder.out()))))
                return false;
        }
        ComRef<IEnumIDList> entries;
        const HRESULT listed =
            folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, entries.out());
        if (listed == S_FALSE || (SUCCEEDED(listed) && !entries))
            return true;  // nothing to list
        if (FAILED(listed))
            return false;
        ITEMIDLIST* next = nullptr;
        while (entries->Next(1, &next, nullptr) == S_OK) {
            const IdList child(next);
            const auto display = nameOf(folder.get(), child.get(), SHGDN_NORMAL);
            const auto parsing = nameOf(folder.get(), child.get(), SHGDN_FORPARSING);
            if (!display || !parsing)
                break;  // a name the shell cannot give ends the listing; what came so far stays
            SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
            PCUITEMID_CHILD children[] = {child.get()};
            if (FAILED(folder->GetAttributesOf(1, children, &attributes)))
                attributes = 0;
            ShellItem item;
            item.displayName = fromWide(*display);
            item.parsingName = fromWide(*parsing);
            item.isFolder = (attributes & SFGAO_FOLDER) != 0;
            item.hasSubfolders = (attributes & SFGAO_HASSUBFOLDER) != 0;
            if (item.isFolder) {
                item.icon = iconKindOf(*parsing, profile_);
                item.openIcon = item.icon == ShellIcon::Folder ? ShellIcon::FolderOpen : item.icon;
            } else {
                item.icon = item.openIcon = ShellIcon::File;
            }
            ITEMIDLIST* combined = ILCombine(absolute.get(), child.get());
            if (combined != nullptr) {
                item.systemIcon = systemIconOf(combined, 0);
                item.systemOpenIcon = systemIconOf(combined, SHGFI_OPENICON);
                item.identifier = std::shared_ptr<const void>(
                    combined, [](const void* list) { CoTaskMemFree(const_cast<void*>(list)); });
            }
            if (!visit(item))
                break;
        }
        return true;
    }

    std::optional<std::string> specialFolder(int code) const override {
        if (code == kSpecialDesktop)
            return std::string();  // the root
        if (!desktop_)
            return std::nullopt;
        ITEMIDLIST* found = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, code, &found)) || found == nullptr)
            return std::nullopt;
        const IdList location(found);
        STRRET name = {};
        if (FAILED(desktop_->GetDisplayNameOf(location.get(), SHGDN_FORPARSING, &name)))
            return std::nullopt;
        const auto text = textOf(name, location.get());
        if (!text)
            return std::nullopt;
        return fromWide(*text);
    }

    FileSystemObject fileSystemObject(std::string_view parsingName) const override {
        if (parsingName.empty() || parsingName.starts_with(kVirtualPrefix))
            return FileSystemObject::None;
        const auto path = toWide(parsingName);
        if (!path)
            return FileSystemObject::None;
        const DWORD attributes = GetFileAttributesW(path->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return FileSystemObject::None;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileSystemObject::Directory
                                                            : FileSystemObject::Other;
    }

    // The desktop folder compares the two absolute identifiers by its first column; the low 16 bits of
    // its answer, as a signed number, are the order.
    int compare(const ShellItem& a, const ShellItem& b) const override {
        if (!desktop_ || !a.identifier || !b.identifier)
            return compareShellItems(a, b);
        const HRESULT order = desktop_->CompareIDs(0, static_cast<PCUIDLIST_RELATIVE>(a.identifier.get()),
                                                   static_cast<PCUIDLIST_RELATIVE>(b.identifier.get()));
        if (FAILED(order))
            return compareShellItems(a, b);
        return static_cast<short>(HRESULT_CODE(order));
    }

    bool hasSystemIcons() const override { return systemIcons_ != nullptr; }

    std::optional<IconPixels> systemIconPixels(int index) const override {
        if (systemIcons_ == nullptr || index < 0 || index >= ImageList_GetImageCount(systemIcons_))
            return std::nullopt;
        HICON icon = ImageList_GetIcon(systemIcons_, index, ILD_NORMAL);
        if (icon == nullptr)
            return std::nullopt;
        auto pixels = pixelsOf(icon);
        DestroyIcon(icon);
        return pixels;
    }

  private:
    // The absolute identifier of a parsing name, parsed by the desktop folder.
    IdList parse(std::string_view parsingName) const {
        auto name = toWide(parsingName);
        if (!name)
            return nullptr;
        ITEMIDLIST* parsed = nullptr;
        if (FAILED(desktop_->ParseDisplayName(nullptr, nullptr, name->data(), nullptr, &parsed, nullptr)))
            return nullptr;
        return IdList(parsed);
    }

    bool comStarted_ = false;
    ComRef<IShellFolder> desktop_;
    HIMAGELIST systemIcons_ = nullptr;
    std::optional<std::wstring> profile_;
};

}  // namespace

std::unique_ptr<ShellNamespace> localShellNamespace() {
    return std::make_unique<WindowsShellNamespace>();
}

}  // namespace platform
