#include "ui/message_dlg.h"

#include "app/state_files.h"
#include "app/ui_texts.h"
#include "platform/files.h"
#include "transfer/news_message.h"
#include "ui/desktop_open.h"
#include "ui/resource_ids.h"

namespace {

using namespace news_ids;

// The message's lines as a label takes them.
std::string withLabelLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

const ui::Font CMessageDlg::kTitleFont{"Arial", -12, ui::Font::kBold, false};
const ui::Font CMessageDlg::kLinkFont{"Arial", -11, ui::Font::kBold, true};

void CMessageDlg::onInit() {
    shownNumber_ = readShownMessageNumber(state_files::kNewsMessageId);
    const std::optional<NewsMessage> message = readNewsMessage(state_files::kNewsMessage);
    if (!message) {
        host().end(ui::kIdCancel);
        return;
    }
    platform::removeFile(state_files::kNewsMessage);
    number_ = message->number;
    title_ = message->title;
    link_ = message->link;
    text_ = message->text;
    if (number_ <= shownNumber_) {
        host().end(ui::kIdCancel);
        return;
    }
    writeShownMessageNumber(state_files::kNewsMessageId, number_);

    ui::DialogHost& window = host();
    window.setTitle(uiText(UiText::ServerMessageCaption));
    window.label(kTitle).setText(title_);
    window.label(kTitle).setFont(kTitleFont);
    window.label(kText).setText(withLabelLineBreaks(text_));
    ui::Label& link = window.label(kLink);
    link.setText(link_);
    // Only an address the browser opens looks like a link; anything else is shown as it came.
    if (isWebAddress(link_))
        link.setFont(kLinkFont);
    link.show(!link_.empty());
    window.check(kDontShowAgain).setText(uiText(UiText::DontShowAgain));
    window.button(kClose).setText(uiText(UiText::Close));
}

void CMessageDlg::onCommand(int id) {
    if (id == kLink && isWebAddress(link_))
        OpenAddress(host().services(), link_);
}

void CMessageDlg::onOk() {
    Close();
}

void CMessageDlg::onCancel() {
    Close();
}

void CMessageDlg::Close() {
    if (!host().check(kDontShowAgain).isChecked())
        platform::removeFile(state_files::kNewsMessageId);
    host().end(ui::kIdOk);
}
