#include "ui/main_order_dlg.h"

#include <utility>

#include "app/ui_texts.h"
#include "app/working_folder.h"
#include "buildinfo/build_constants.h"
#include "image/builtin_pictures.h"
#include "order/order_state_file.h"
#include "ui/about_dlg.h"
#include "ui/desktop_open.h"
#include "ui/dialog_resources.h"
#include "ui/resource_ids.h"

namespace {

using namespace main_ids;

// The text whose presence decides whether the about and help items join the system menu.
constexpr std::string_view kAboutMenuResource = "&O aplikaci Snapord...";

struct IconButton {
    int id;
    int bitmap;
    int mode;
};

constexpr std::array<IconButton, 9> kIconButtons = {{
    {kSend, builtin::kSendIcon, CButtonIcons::kBothSides},
    {kPhotobook, builtin::kSendIcon, CButtonIcons::kBothSides},
    {kAdd, builtin::kAddIcon, CButtonIcons::kBothSides},
    {kRemove, builtin::kRemoveIcon, CButtonIcons::kBothSides},
    {kDeleteOrder, builtin::kRemoveIcon, CButtonIcons::kBothSides},
    {kOrdersPage, builtin::kWebIcon, CButtonIcons::kBothSides},
    {kPriceList, builtin::kWebIcon, CButtonIcons::kBothSides},
    {kUpdate, builtin::kWebIcon, CButtonIcons::kBothSides},
    {kHelp, builtin::kHelpIcon, CButtonIcons::kLeftOnly},
}};

const ui::Font kBoldFont{"Arial", -11, ui::Font::kBold, false};
const ui::Font kFixedFont{"Courier new", -11, ui::Font::kNormal, false};

}  // namespace

CMainOrderDlg::CMainOrderDlg(OrderDocument& document, ServerRequest& request,
                             const platform::ShellNamespace& shell, platform::EnvironmentLookup environment,
                             MainWindowHooks hooks)
    : document_(document),
      request_(request),
      environment_(std::move(environment)),
      hooks_(std::move(hooks)),
      fileTree_(shell) {}

CMainOrderDlg::~CMainOrderDlg() = default;

void CMainOrderDlg::onInit() {
    settleWorkingFolder(environment_);
    SetUpSystemMenu();
    host().setIcon(builtinPicture(builtin::kWindowIcon));
    SetUpIconButtons();
    host().button(kHelp).setText("");

    fileTree_.Attach(host().tree(kTree), host().services());
    fileTree_.ExcludeSpecialFolder(platform::kSpecialRecycleBin, "");
    fileTree_.ExcludeSpecialFolder(platform::kSpecialControlPanel, "");
    fileTree_.Init();

    SetUpFonts();

    host().button(kRemove).show(false);
    host().button(kAdd).show(true);
    host().button(kAdd).enable(false);
    lastUsedList_ = LastUsedList::Files;
    selectionMode_ = SelectionMode::Order;

    starting_ = true;
    LoadParameterLists();
    LoadOrder();
    // Photographs named on the command line join the order in progress with the parameters just loaded.
    if (!startFiles_.paths.empty() || startFiles_.unnamable > 0)
        AddFiles(std::exchange(startFiles_, {}));
    else
        RefreshButtonsAndSummary();
    SetUpLabels();
    host().acceptDroppedFiles();
    starting_ = false;
    AskAfterStart();
}

void CMainOrderDlg::SetUpSystemMenu() {
    if (kAboutMenuResource.empty())
        return;
    host().appendSystemMenuSeparator();
    host().appendSystemMenuItem(res::kAboutCommand, uiText(UiText::AboutMenu));
    host().appendSystemMenuItem(res::kHelpCommand, uiText(UiText::Help));
}

void CMainOrderDlg::SetUpIconButtons() {
    for (std::size_t i = 0; i < kIconButtons.size(); ++i) {
        iconButtons_[i].Attach(host().button(kIconButtons[i].id));
        iconButtons_[i].SetIcon(kIconButtons[i].bitmap, kIconButtons[i].mode);
    }
}

void CMainOrderDlg::SetUpFonts() {
    for (int id : {kOrderFilesLabel, kPhotoParamsLabel})
        host().label(id).setFont(kBoldFont);
    for (int id : {kSend, kRemove, kAdd, kDeleteOrder, kHelp, kOrdersPage, kPriceList, kUpdate, kPhotobook})
        host().button(id).setFont(kBoldFont);
    // The order rows are laid out in columns of characters: the list and its header need a fixed pitch.
    host().list(kOrderList).setFont(kFixedFont);
    host().label(kColumnHeader).setFont(kFixedFont);
}

void CMainOrderDlg::SetUpLabels() {
    const std::pair<int, UiText> labels[] = {
        {kOrderFilesLabel, UiText::OrderFilesLabel},
        {kPhotoParamsLabel, UiText::PhotoParamsLabel},
        {kCopiesLabel, UiText::CopiesLabel},
        {kFormatLabel, UiText::FormatLabel},
        {kPaperLabel, UiText::PaperLabel},
        {kBorderLabel, UiText::BorderLabel},
        {kColumnHeader, UiText::ColumnHeader},
        {kRemove, UiText::RemoveButton},
        {kSend, UiText::SendOrderButton},
        {kAdd, UiText::AddButton},
        {kDeleteOrder, UiText::DeleteOrderButton},
        {kOrdersPage, UiText::OrdersButton},
        {kPriceList, UiText::PriceListButton},
        {kUpdate, UiText::UpdateButton},
    };
    for (const auto& [id, text] : labels)
        host().control(id).setText(uiText(text));
}

// --- Events

void CMainOrderDlg::onOk() {
    // Enter never closes the main window: it adds the selected files.
    AddSelectedFiles();
}

void CMainOrderDlg::onCancel() {
    SaveOrder();
    host().end(ui::kIdCancel);
}

void CMainOrderDlg::onCommand(int id) {
    switch (id) {
        case kAdd:
            AddSelectedFiles();
            break;
        case kRemove:
            RemoveSelectedItems();
            break;
        case kDeleteOrder:
            DeleteOrder();
            break;
        case kSend:
            Send();
            break;
        case kUpdate:
            Update();
            break;
        case kPhotobook:
            SendPhotobook();
            break;
        case kHelp:
            Help();
            break;
        case kOrdersPage:
            OpenOrdersPage();
            break;
        case kPriceList:
            OpenPriceListPage();
            break;
        default:
            break;  // the special-photo check boxes change nothing in the order
    }
}

void CMainOrderDlg::onSelectionChange(int id) {
    switch (id) {
        case kTree:
            FolderChosen();
            break;
        case kFileList:
            FileListClicked();
            break;
        case kOrderList:
            OrderListClicked();
            break;
        case kFormat:
            ParameterChanged(0);
            break;
        case kPaper:
            ParameterChanged(1);
            break;
        case kBorder:
            ParameterChanged(2);
            break;
        default:
            break;
    }
}

void CMainOrderDlg::onDoubleClick(int id) {
    if (id == kFileList)
        FileDoubleClicked();
    // a double click in the tree does nothing
}

void CMainOrderDlg::onTextChange(int id) {
    if (id == kCopies)
        CopiesChanged();
}

bool CMainOrderDlg::onKeyDown(int id, const ui::KeyEvent& key) {
    if (id == kOrderList)
        return RemoveSelectedItemsByKey(key);
    return false;
}

void CMainOrderDlg::onPaint(ui::Canvas& canvas) {
    DrawWindow(canvas);
}

bool CMainOrderDlg::onSystemCommand(int command) {
    switch (command) {
        case res::kAboutCommand:
            ShowAboutBox();
            return true;
        case res::kHelpCommand:
            Help();
            return true;
        default:
            return false;
    }
}

void CMainOrderDlg::onHelp() {
    Help();
}

void CMainOrderDlg::onDropFiles(const ui::DroppedFiles& dropped) {
    AddFiles(dropped);
}

// --- Actions

void CMainOrderDlg::ShowWindow(bool visible) {
    if (hasHost())
        host().show(visible);
}

bool CMainOrderDlg::SaveOrder() {
    return saveOrder(order_);
}

void CMainOrderDlg::ShowStatus(std::string_view text) {
    host().label(kStatus).setText(text);
}

OrderSession CMainOrderDlg::Session() {
    return OrderSession{document_, request_, host().services(), *this};
}

void CMainOrderDlg::Help() {
    OpenHelp(services());
}

void CMainOrderDlg::ShowAboutBox() {
    CAboutDlg about;
    host().services().runModal(about, aboutTemplate());
}

void CMainOrderDlg::OpenOrdersPage() {
    OpenAddress(services(), std::string(build::kServerUrl) + "/extranet.php");
}

void CMainOrderDlg::OpenPriceListPage() {
    OpenAddress(services(), std::string(build::kServerUrl) + "/cenik.php");
}
