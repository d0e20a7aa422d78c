// CMainOrderDlg: the main window, where the user builds the order.
//
// It lives for the whole run: its onInit settles the working folder, prepares every control, loads the
// parameter lists and the order in progress; Esc and the close box save the order and end the program;
// Enter never closes it, it adds the selected files. Handlers are dispatched by control id to one member
// function per action, so each behaviour of the window has one place to live; the behaviours are spread
// over main_*.cpp by the part of the window they belong to (parameters, file list, order list, pictures,
// sending). UI thread only.
//
// The order in progress is an OrderList; the order list box shows its rows and holds the user's
// selection, which the window hands to the model before every operation on selected rows. The order
// document and the server request belong to the application; the window lends them, with itself as the
// MainWindowLink, to the windows and procedures it starts (see OrderSession).
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/option_list.h"
#include "image/header_picture.h"
#include "image/photo_preview.h"
#include "order/order_conversion.h"
#include "order/order_list.h"
#include "platform/app_data.h"
#include "platform/shell_namespace.h"
#include "ui/button_icons.h"
#include "ui/controls/dialog.h"
#include "ui/file_tree_ctrl.h"
#include "ui/main_window_hooks.h"
#include "ui/order_session.h"
#include "ui/preview_loader.h"

class CMainOrderDlg : public ui::Dialog, public MainWindowLink {
  public:
    // Which of the two lists the user worked in last; the parameter controls change order rows only
    // while it is the order list.
    enum class LastUsedList { Files, Order };
    // Which of the add and remove buttons is shown.
    enum class SelectionMode { Files, Order };

    // `document` and `request` are the run's order document and server request, which must outlive the
    // window; `shell` is the namespace the folder tree shows; `environment` finds the application-data
    // folder.
    CMainOrderDlg(OrderDocument& document, ServerRequest& request, const platform::ShellNamespace& shell,
                  platform::EnvironmentLookup environment = platform::systemEnvironment,
                  MainWindowHooks hooks = {});
    ~CMainOrderDlg() override;
    CMainOrderDlg(const CMainOrderDlg&) = delete;
    CMainOrderDlg& operator=(const CMainOrderDlg&) = delete;

    void onInit() override;
    void onOk() override;
    void onCancel() override;
    void onCommand(int id) override;
    void onSelectionChange(int id) override;
    void onDoubleClick(int id) override;
    void onTextChange(int id) override;
    bool onKeyDown(int id, const ui::KeyEvent& key) override;
    void onPaint(ui::Canvas& canvas) override;
    bool onSystemCommand(int command) override;
    void onHelp() override;
    // Files and folders dropped from the file manager are added as Add adds them (see AddFiles).
    void onDropFiles(const ui::DroppedFiles& dropped) override;

    // Photographs to add to the order at start-up, once the order in progress is loaded (those named on
    // the command line). Call before the window runs.
    void AddAtStart(ui::DroppedFiles files) { startFiles_ = std::move(files); }

    // MainWindowLink.
    void ShowWindow(bool visible) override;
    void ShowStatus(std::string_view text) override;
    bool photobookMode() const override { return photobookMode_; }
    void SendPhotobookDocument() override;

    // Writes the order rows to the order state file, each row followed by CR LF, replacing the file in
    // one step. False when it could not be written (the old file then stays).
    bool SaveOrder();

    // --- For the procedures the window starts (see MainWindowHooks)
    // Enables the send, delete-order or photobook button as the order asks, then shows the order's
    // size in the summary line, asking first whether to delete an order whose files are missing.
    void RefreshButtonsAndSummary();
    // The update from the lab's server (button "Aktualizace", and at start-up after an order was
    // loaded). Does nothing while no update procedure is wired.
    void Update();

    CFileTreeCtrl& fileTree() { return fileTree_; }
    const OrderList& order() const { return order_; }
    const PhotoPreview& preview() const { return preview_; }
    // Blocks until the picture being loaded for the preview has been handed to the UI thread, where it
    // is shown at the next dispatch of events. For tests.
    void WaitForPreview();
    LastUsedList lastUsedList() const { return lastUsedList_; }
    SelectionMode selectionMode() const { return selectionMode_; }

  private:
    void SetUpSystemMenu();
    void SetUpIconButtons();
    void SetUpFonts();
    void SetUpLabels();

    // The actions of the window.
    void FolderChosen();
    void FileListClicked();
    void FileDoubleClicked();
    void AddSelectedFiles();
    // Adds the pictures among `files` with the current parameters: a folder adds the picture files of
    // its own (not those of its sub-folders), a file only when its name ends as a picture's. Refusals
    // are told as Add tells them. Names of files that cannot be read are skipped.
    void AddFiles(const ui::DroppedFiles& files);
    void OrderListClicked();
    void RemoveSelectedItems();
    bool RemoveSelectedItemsByKey(const ui::KeyEvent& key);
    void ParameterChanged(int column);
    void CopiesChanged();
    void DeleteOrder();
    void Send();
    void SendPhotobook();
    void Help();
    void OpenOrdersPage();
    void OpenPriceListPage();
    void ShowAboutBox();
    void LoadParameterLists();
    void LoadOrder();
    void DrawWindow(ui::Canvas& canvas);

    // Parameters (main_parameters.cpp).
    ParameterLists parameterLists() const { return {formats_, surfaces_, margins_}; }
    // Appends a row for `path` with the current parameter choices to the model and the list box; the
    // caller tells the user about a path that cannot be ordered.
    AddResult AddToOrder(const std::string& path);

    // Order list (main_order_list.cpp).
    void TakeOrderSelection();
    void ShowSelectedRows();
    // Deletes the selected rows from the model and the list box; see OrderList::removeSelected.
    std::optional<std::size_t> DeleteSelectedRows();
    void DeleteAllRows();
    // The summary line; with `askAboutMissing`, first the question whether to delete an order whose
    // files are missing.
    void RefreshSummary(bool askAboutMissing);
    // After start-up: asks the missing-files question that start-up held back, once the window shows.
    void AskAfterStart();

    // Pictures (main_pictures.cpp): the preview of a file of the file list or the order. The picture
    // loads on a worker thread; PreviewLoaded shows it, for the latest choice only.
    void Preview(const std::string& path);
    void PreviewLoaded(const std::string& path, PreviewPicture preview);

    // What the windows and procedures started now receive.
    OrderSession Session();
    ui::DesktopServices& services() { return host().services(); }

    // Sending (main_send.cpp). Saves the order and rebuilds the order document from it; false, with the
    // user told why, when the document cannot hold the whole order.
    bool ConvertOrderForSending();
    void OfferOnlinePayment();

    OrderDocument& document_;
    ServerRequest& request_;
    platform::EnvironmentLookup environment_;
    MainWindowHooks hooks_;
    CFileTreeCtrl fileTree_;
    std::array<CButtonIcons, 9> iconButtons_;
    LastUsedList lastUsedList_ = LastUsedList::Files;
    SelectionMode selectionMode_ = SelectionMode::Order;
    bool photobookMode_ = false;
    std::string currentFolder_;
    ui::DroppedFiles startFiles_;

    OrderList order_;
    OptionList formats_;
    OptionList surfaces_;
    OptionList margins_;
    OptionList specials_;
    // Set while the parameter lists are filled: their reset of the copies field is no change of rows.
    bool reloadingParameters_ = false;
    // Set while the copies field is being corrected, whose own change report is then ignored.
    bool correctingCopies_ = false;

    PhotoPreview preview_;
    HeaderPicture header_;
    // While a preview loads: the wait cursor, and the loading text of the status line.
    std::optional<ui::WaitCursor> previewWait_;
    std::string previewStatus_;
    // Set when the missing-files question was asked since the preview being loaded was chosen: the
    // action that chose it (a Delete that selects the next row, Enter that walks on) has asked already,
    // and the loaded preview does not ask again.
    bool askedSincePreviewChosen_ = false;
    // While the window starts it is not on the screen yet: a question about missing files waits until
    // it is shown (askAfterStart_), so that it does not stand alone on an empty screen.
    bool starting_ = false;
    bool askAfterStart_ = false;
    // Tells an action posted to the event loop whether the window still exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    // Last: its worker is stopped before anything it delivers to is gone.
    std::unique_ptr<PreviewLoader> previewLoader_;
};
