// Names of the files the program keeps in its working folder. The working folder is the current
// directory for the whole run, so every state file is opened by these bare names.
#pragma once

namespace state_files {

inline constexpr char kCatalogue[] = "snapord2.ini";
// A catalogue being downloaded by the update, and by the refresh while sending.
inline constexpr char kCatalogueUpdate[] = "snapord2.dnl";
inline constexpr char kCatalogueRefresh[] = "snapord2.inb";
inline constexpr char kOrder[] = "order.sno";
inline constexpr char kFirstRunMarker[] = "firstrun.sno";
inline constexpr char kUserData[] = "userdata.sno";
inline constexpr char kOrderParams[] = "params.sno";
inline constexpr char kOrderFile[] = "obj.snf";
inline constexpr char kLaceFile[] = "obj.lace";
inline constexpr char kHeaderPicture[] = "hlavicka.jpg";
inline constexpr char kHeaderPictureUpdate[] = "hlavicka.dnl";
// The header picture downloaded by the login check of a sending.
inline constexpr char kHeaderPictureCheck[] = "hlavicka.inb";
inline constexpr char kNewsMessage[] = "message.txt";
inline constexpr char kNewsMessageId[] = "message.id";
inline constexpr char kValidity[] = "validity.txt";

}  // namespace state_files
