// SPDX-License-Identifier: GPL-3.0-or-later
// The program's data in the registry store: key paths under HKEY_CURRENT_USER and
// value names. They are the stored format and are never translated.
#pragma once

#include <initializer_list>
#include <string>

namespace RegistryKeys {
inline constexpr const char* Tarnwick = "\\Software\\Tarnwick";
inline constexpr const char* Quillet = "\\Software\\Tarnwick\\Quillet";
inline constexpr const char* Options = "\\Software\\Tarnwick\\Quillet\\Options";
inline constexpr const char* Files = "\\Software\\Tarnwick\\Quillet\\Files";
inline constexpr const char* Types = "\\Software\\Tarnwick\\Quillet\\Types";
inline constexpr const char* Pages = "\\Software\\Tarnwick\\Quillet\\Pages";
inline constexpr const char* Marges = "\\Software\\Tarnwick\\Quillet\\Marges";
inline constexpr const char* Names = "\\Software\\Tarnwick\\Quillet\\Names";
inline constexpr const char* Screens = "\\Software\\Tarnwick\\Quillet\\Screens";
inline constexpr const char* Search = "\\Software\\Tarnwick\\Quillet\\Search";
// Every key of the program below Quillet, in the order the Clear command removes them.
inline constexpr const char* All[] = {Options, Files, Types, Pages, Marges, Names, Screens, Search};
// The interface-language override, one value per executable path; outside the
// program's own keys, so Clear leaves it alone.
inline constexpr const char* Locales = "\\Software\\Borland\\Locales";
} // namespace RegistryKeys

namespace OptionsValue {
inline constexpr const char* Font = "Font";
inline constexpr const char* Size = "Size";
inline constexpr const char* Charset = "Charset";
inline constexpr const char* FColor = "FColor";
inline constexpr const char* FStyle = "FStyle";
inline constexpr const char* Color = "Color";
inline constexpr const char* Window = "Window";
inline constexpr const char* Indent = "Indent";
inline constexpr const char* AllEncBut = "AllEncBut";
inline constexpr const char* ReadOnly = "ReadOnly";
inline constexpr const char* ParBut = "ParBut";
inline constexpr const char* Wrap = "Wrap";
inline constexpr const char* Top = "Top";
inline constexpr const char* Left = "Left";
inline constexpr const char* Width = "Width";
inline constexpr const char* Height = "Height";
inline constexpr const char* RusCode = "RusCode";
inline constexpr const char* ParNum = "ParNum";
inline constexpr const char* UnderLine = "UnderLine";
inline constexpr const char* AutoUrl = "AutoUrl";
inline constexpr const char* ExceptMac = "ExceptMac";
inline constexpr const char* PDos = "PDos";
inline constexpr const char* Ole = "Ole";
inline constexpr const char* AutoEnc = "AutoEnc";
inline constexpr const char* Journal = "Journal";
inline constexpr const char* JournalDelay = "JournalDelay"; // seconds
} // namespace OptionsValue

namespace SearchValue {
inline constexpr const char* FindStr = "FindStr";
inline constexpr const char* FindReplStr = "FindReplStr";
inline constexpr const char* ReplStr = "ReplStr";
} // namespace SearchValue

namespace PagesValue {
inline constexpr const char* PrintN = "PrintN";
inline constexpr const char* FirstPageN = "FirstPageN";
inline constexpr const char* BeginN = "BeginN";
inline constexpr const char* Position = "Position";
inline constexpr const char* Allign = "Allign";
inline constexpr const char* TopBorder = "TopBorder";
inline constexpr const char* BottomBorder = "BottomBorder";
inline constexpr const char* LeftBorder = "LeftBorder";
inline constexpr const char* RightBorder = "RightBorder";
inline constexpr const char* BlackWhite = "BlackWhite";
// The range of the first page's number.
inline constexpr int BeginNMin = 1;
inline constexpr int BeginNMax = 2000000000;
} // namespace PagesValue

namespace MargesValue {
inline constexpr const char* MarginLeft = "MarginLeft";
inline constexpr const char* MarginTop = "MarginTop";
inline constexpr const char* MarginBottom = "MarginBottom";
inline constexpr const char* MarginRight = "MarginRight";
inline constexpr const char* CodeMeasurement = "CodeMeasurement";
inline constexpr const char* CodeDirection = "CodeDirection";
} // namespace MargesValue

// Numbered values: "File" + n and its companions (n = 1..10), and the saved screens'
// "Font" + n and the rest (n = 1..5).
namespace FilesValue {
std::string File(int n);
std::string Kod(int n);
std::string Pos(int n);
std::string Uni(int n);
} // namespace FilesValue

namespace ScreensValue {
std::string Font(int n);
std::string FStyle(int n);
std::string FColor(int n);
std::string Size(int n);
std::string Charset(int n);
std::string Color(int n);
std::string Window(int n);
} // namespace ScreensValue

namespace platform {
class TRegistry;
}

// Removes the program's keys under HKEY_CURRENT_USER, then Quillet, then Tarnwick
// with all that is still below it, and Software when nothing else is in it (the
// registry part of the Clear command).
void DeleteProgramKeys();
// The same through an accessor, inside its transaction; it selects HKEY_CURRENT_USER.
void DeleteProgramKeys(platform::TRegistry& reg);

// Removes each key, in the order given, that holds neither a value nor a key, in
// the accessor's selected root: what a removal left of the path to it.
void DeleteEmptyKeys(platform::TRegistry& reg, std::initializer_list<const char*> keys);
