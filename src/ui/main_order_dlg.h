// CMainOrderDlg: the main window, where the user builds the order.
//
// It lives for the whole run: its onInit settles the working folder and prepares every control; Esc and
// the close box save the order in progress and end the program; Enter never closes it. Handlers are
// dispatched by control id to one member function per action, so each behaviour of the window has one
// place to live. UI thread only.
#pragma once

#include <array>
#include <string>

#include "platform/app_data.h"
#include "platform/shell_namespace.h"
#include "ui/button_icons.h"
#include "ui/controls/dialog.h"
#include "ui/file_tree_ctrl.h"

class CMainOrderDlg : public ui::Dialog {
  public:
    // Which of the two lists the user worked in last; the parameter controls change order rows only
    // while it is the order list.
    enum class LastUsedList { Files, Order };
    // Which of the add and remove buttons is shown.
    enum class SelectionMode { Files, Order };

    // `shell` is the namespace the folder tree shows; `environment` finds the application-data folder.
    explicit CMainOrderDlg(const platform::ShellNamespace& shell,
                           platform::EnvironmentLookup environment = platform::systemEnvironment);
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

    // Shows or hides the main window, for the windows that open over it.
    void ShowWindow(bool visible);

    // Writes the order rows to the order state file, each row followed by CR LF, replacing the file in
    // one step. False when it could not be written (the old file then stays).
    bool SaveOrder();

    CFileTreeCtrl& fileTree() { return fileTree_; }
    LastUsedList lastUsedList() const { return lastUsedList_; }
    SelectionMode selectionMode() const { return selectionMode_; }
    bool photobookMode() const { return photobookMode_; }

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
    void OrderListClicked();
    void RemoveSelectedItems();
    bool RemoveSelectedItemsByKey(const ui::KeyEvent& key);
    void ParameterChanged(int column);
    void CopiesChanged();
    void DeleteOrder();
    void Send();
    void Update();
    void SendPhotobook();
    void Help();
    void OpenOrdersPage();
    void OpenPriceListPage();
    void ShowAboutBox();
    void LoadParameterLists();
    void LoadOrder();
    void RefreshButtonsAndSummary();
    void DrawWindow(ui::Canvas& canvas);

    platform::EnvironmentLookup environment_;
    CFileTreeCtrl fileTree_;
    std::array<CButtonIcons, 9> iconButtons_;
    LastUsedList lastUsedList_ = LastUsedList::Files;
    SelectionMode selectionMode_ = SelectionMode::Order;
    bool photobookMode_ = false;
    std::string currentFolder_;
};

// The one main window of the run; null before its onInit and after it is gone.
CMainOrderDlg* theMainWindow();
