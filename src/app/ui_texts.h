// The table of fixed Czech interface texts, addressed by index.
//
// Filled once on first use and read-only afterwards; any thread may read it. Texts are cp1250. Entries
// that begin with "-----" mark the start of a group and are never shown. Texts holding %d, %s, %ld or %%
// are patterns for the arguments that their window supplies: each is declared below in ui_format with
// the kinds of its arguments and filled with formatUiText, and the build fails when a pattern of the
// table and its declaration differ.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "text/format.h"

// Indices of the table, named after what each text is for.
enum class UiText : std::size_t {
    GroupMainMessages = 0,
    ConnectFailed = 1,
    AskNewOrder = 2,
    AskDeleteOrder = 3,
    DeleteOrderCaption = 4,
    GroupParamsMessages = 5,
    ChooseProduct = 6,
    BadItem = 7,
    GroupSendMessages = 8,
    AskCancelSending = 9,
    UnknownFunction = 10,
    CredentialsTooShort = 11,
    CredentialsInvalid = 12,
    ConnectionInitFailed = 13,
    OrderParamsFailed = 14,
    PriceUnknown = 15,
    PriceQuestion = 16,
    PriceCaption = 17,
    UploadFailedRetry = 18,
    GroupMainWindow = 19,
    OrderFilesLabel = 20,
    AddButton = 21,
    DeleteOrderButton = 22,
    OrdersButton = 23,
    PriceListButton = 24,
    PhotoParamsLabel = 25,
    FormatLabel = 26,
    PaperLabel = 27,
    BorderLabel = 28,
    CopiesLabel = 29,
    PhotoNameColumn = 30,
    SendOrderButton = 31,
    Loading = 32,
    RemoveButton = 33,
    ColumnHeader = 34,
    GroupAbout = 35,
    AboutMenu = 36,
    VersionWord = 37,
    AuthorWord = 38,
    GroupParams = 39,
    OrderParamsTitle = 40,
    PaymentLabel = 41,
    DeliveryLabel = 42,
    ShopLabel = 43,
    SpecialRequirements = 44,
    NoteLabel = 45,
    DiscountCodeLabel = 46,
    ProduceLabel = 47,
    BackButton = 48,
    SendButton = 49,
    AutoResume = 50,
    GroupSending = 51,
    SendingTitle = 52,
    LoginLabel = 53,
    PasswordLabel = 54,
    OverallProgress = 55,
    FileProgress = 56,
    Storno = 57,
    Ok = 58,
    TransferError = 59,
    BadCredentials = 60,
    CancelledByUser = 61,
    SendingPaused = 62,
    FilesProgressFormat = 63,
    SendingFileFormat = 64,
    BytesProgressFormat = 65,
    OnlyRecorded = 66,
    PauseAfterPhoto = 67,
    Help = 68,
    HelpLink = 69,
    UpdateButton = 70,
    Done = 71,
    UpdateFailed = 72,
    ServerMessageCaption = 73,
    Close = 74,
    DontShowAgain = 75,
    SummaryFormat = 76,
    MissingPhotosQuestion = 77,
    SaveToDiskHint = 78,
};

class UiTexts {
  public:
    static constexpr std::size_t kCount = 79;

    // Fills every entry and builds the column header (entry 34) from entries 26 to 30.
    UiTexts();

    const std::string& operator[](UiText id) const { return texts_[static_cast<std::size_t>(id)]; }
    // Out-of-range indices give the empty text.
    const std::string& at(std::size_t index) const;

  private:
    std::array<std::string, kCount> texts_;
};

// The program-wide table.
const UiTexts& uiTexts();

// Shorthand for uiTexts()[id].
inline const std::string& uiText(UiText id) {
    return uiTexts()[id];
}

// A text of the table that is a pattern, with the kinds of the arguments it takes.
template <text::FormatArgKind... Kinds>
struct UiFormat {
    static constexpr std::array<text::FormatArgKind, sizeof...(Kinds)> kKinds{Kinds...};
    UiText id;
};

namespace ui_format {

using enum text::FormatArgKind;

inline constexpr UiFormat<Text> BadItem{UiText::BadItem};
inline constexpr UiFormat<Text> PriceQuestion{UiText::PriceQuestion};
inline constexpr UiFormat<Number, Number, Number> FilesProgress{UiText::FilesProgressFormat};
inline constexpr UiFormat<Text> SendingFile{UiText::SendingFileFormat};
inline constexpr UiFormat<Number, Number, Number> BytesProgress{UiText::BytesProgressFormat};
inline constexpr UiFormat<Number, Number, Text> Summary{UiText::SummaryFormat};
inline constexpr UiFormat<Number> MissingPhotos{UiText::MissingPhotosQuestion};

// Every pattern of the table with its kinds; the table's own check goes through this list.
struct Declaration {
    UiText id;
    std::span<const text::FormatArgKind> kinds;
};
template <text::FormatArgKind... Kinds>
constexpr Declaration declare(const UiFormat<Kinds...>& format) {
    return {format.id, UiFormat<Kinds...>::kKinds};
}
inline constexpr std::array kDeclarations = {
    declare(BadItem),       declare(PriceQuestion), declare(FilesProgress), declare(SendingFile),
    declare(BytesProgress), declare(Summary),       declare(MissingPhotos),
};

}  // namespace ui_format

// The pattern of the table filled with `args`, whose kinds the declaration fixes.
template <text::FormatArgKind... Kinds, class... Args>
std::string formatUiText(const UiFormat<Kinds...>& format, const Args&... args) {
    static_assert(sizeof...(Kinds) == sizeof...(Args), "the text takes another number of arguments");
    static_assert(((text::formatArgKind<Args>() == Kinds) && ...),
                  "an argument of another kind than the text's");
    const std::array<text::FormatArg, sizeof...(Args)> values{text::FormatArg(args)...};
    return text::formatPattern(uiText(format.id), values);
}
