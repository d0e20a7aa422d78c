// The ids of the program's windows, their controls and commands (the pictures' ids are in
// image/builtin_pictures.h).
//
// Each window's controls have their own namespace; the numbers are those the windows have always had,
// which the order of a window's template and its handlers refer to.
#pragma once

namespace res {

// Windows.
inline constexpr int kAboutDialog = 100;
inline constexpr int kMainDialog = 102;
inline constexpr int kOrderParamsDialog = 103;
inline constexpr int kSendingDialog = 137;
inline constexpr int kNewsDialog = 142;

// Commands of the main window's system menu.
inline constexpr int kAboutCommand = 0x0010;
inline constexpr int kHelpCommand = 0x0020;

}  // namespace res

namespace main_ids {
inline constexpr int kTree = 1000;
inline constexpr int kStatus = 1002;
inline constexpr int kPreview = 1003;
inline constexpr int kSummary = 1004;
inline constexpr int kFormat = 1009;
inline constexpr int kFormatLabel = 1010;
inline constexpr int kPaperLabel = 1011;
inline constexpr int kBorderLabel = 1012;
inline constexpr int kSend = 1015;
inline constexpr int kPaper = 1016;
inline constexpr int kFileList = 1017;
inline constexpr int kAdd = 1021;
inline constexpr int kOrderList = 1022;
inline constexpr int kDeleteOrder = 1023;
inline constexpr int kPhotoParamsLabel = 1024;
inline constexpr int kCopiesLabel = 1025;
inline constexpr int kCopies = 1026;
inline constexpr int kRemove = 1027;
inline constexpr int kOrderFilesLabel = 1028;
inline constexpr int kColumnHeader = 1029;
inline constexpr int kSpecial1 = 1030;
inline constexpr int kSpecial2 = 1031;
inline constexpr int kSpecial3 = 1032;
inline constexpr int kBorder = 1033;
inline constexpr int kHelp = 1059;
inline constexpr int kOrdersPage = 1060;
inline constexpr int kPriceList = 1061;
inline constexpr int kUpdate = 1065;
inline constexpr int kPhotobook = 1066;
}  // namespace main_ids

namespace about_ids {
inline constexpr int kCredits = 1031;
inline constexpr int kVersion = 1032;
inline constexpr int kAuthor = 1033;
}  // namespace about_ids

namespace params_ids {
inline constexpr int kPayment = 1013;
inline constexpr int kDelivery = 1014;
inline constexpr int kShop = 1020;
inline constexpr int kFirstName = 1026;
inline constexpr int kSurname = 1027;
inline constexpr int kCity = 1029;
inline constexpr int kPostcode = 1030;
inline constexpr int kEmail = 1031;
inline constexpr int kPhone = 1032;
inline constexpr int kCompany = 1033;
inline constexpr int kNote = 1034;
inline constexpr int kDiscountCode = 1035;
inline constexpr int kSpecial1 = 1036;
inline constexpr int kSpecial2 = 1037;
inline constexpr int kSpecial3 = 1038;
inline constexpr int kCompanyNumber = 1039;
inline constexpr int kTaxNumber = 1040;
inline constexpr int kShopDescription = 1041;
inline constexpr int kPaymentLabel = 1042;
inline constexpr int kDeliveryLabel = 1043;
inline constexpr int kShopLabel = 1044;
inline constexpr int kNoteLabel = 1045;
inline constexpr int kDiscountCodeLabel = 1046;
inline constexpr int kHeading = 1047;
inline constexpr int kCustomerHeading = 1048;
inline constexpr int kBack = 1049;
inline constexpr int kSend = 1050;
inline constexpr int kSpecialHeading = 1051;
inline constexpr int kStreet = 1052;
inline constexpr int kSpecial4 = 1053;
inline constexpr int kSpecial5 = 1054;
inline constexpr int kSpecial6 = 1055;
inline constexpr int kSpecial7 = 1056;
inline constexpr int kProduceLabel = 1057;
inline constexpr int kProduct1 = 1058;
inline constexpr int kProduct2 = 1059;
inline constexpr int kProduct3 = 1060;
inline constexpr int kProduct4 = 1061;
inline constexpr int kProduct5 = 1062;
inline constexpr int kProduct6 = 1063;
inline constexpr int kHelpLink = 1064;
inline constexpr int kInformation = 1070;
}  // namespace params_ids

namespace sending_ids {
inline constexpr int kPause = 1036;
inline constexpr int kAutoResume = 1037;
inline constexpr int kLogin = 1039;
inline constexpr int kPassword = 1040;
inline constexpr int kLoginLabel = 1047;
inline constexpr int kPasswordLabel = 1048;
inline constexpr int kOverallBar = 1050;
inline constexpr int kFileBar = 1051;
inline constexpr int kSend = 1052;
inline constexpr int kStorno = 1053;
inline constexpr int kOverallLabel = 1054;
inline constexpr int kFileLabel = 1055;
inline constexpr int kFileText = 1056;
inline constexpr int kOverallText = 1057;
inline constexpr int kStatus = 1058;
inline constexpr int kHelpLink = 1060;
inline constexpr int kSaveToDisk = 1061;
}  // namespace sending_ids

namespace news_ids {
inline constexpr int kDontShowAgain = 1036;
inline constexpr int kTitle = 1066;
inline constexpr int kText = 1067;
inline constexpr int kLink = 1069;
inline constexpr int kClose = 1;
}  // namespace news_ids
