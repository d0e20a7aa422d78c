// CMessageDlg: the news message from the lab's server (template 142), run after an update downloaded
// "message.txt".
//
// It decides by itself whether to show anything: its onInit reads and deletes message.txt and ends the
// run at once, unshown, when there is no file or its number is not higher than the one in "message.id"
// (0 without that file). Otherwise it writes the message's number to message.id and shows title, text
// and link. Closing it with "Tuto zprávu znovu nezobrazovat" unticked deletes message.id again, so the
// message comes back at the next update; ticked, only a message with a higher number is shown again.
//
// The link is opened with the desktop only when it is an http or https address; any other link is
// shown as plain text and a click on it does nothing. The text label scrolls when the text is taller
// than it. UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "ui/controls/dialog.h"
#include "ui/controls/font.h"

class CMessageDlg : public ui::Dialog {
  public:
    static const ui::Font kTitleFont;
    static const ui::Font kLinkFont;

    void onInit() override;
    void onCommand(int id) override;
    // Zavřít.
    void onOk() override;
    // Esc and the close box close it as Zavřít does.
    void onCancel() override;

  private:
    void Close();

    std::string title_;
    std::string link_;
    std::string text_;
    std::int32_t number_ = 0;
    std::int32_t shownNumber_ = 0;
};
