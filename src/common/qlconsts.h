// SPDX-License-Identifier: GPL-3.0-or-later
// QlConsts: every text the program shows from its code, as named constants marked
// for translation in the context "QlConsts" (quillet.ru replaces them via Tr()).
#pragma once

#include <QString>
#include <QtGlobal>

namespace QlConsts {

inline constexpr const char* Context = "QlConsts";

// Program and window captions
inline constexpr const char* AppTitle = QT_TRANSLATE_NOOP("QlConsts", "Quillet");
inline constexpr const char* TaskBarSuffix = QT_TRANSLATE_NOOP("QlConsts", " - Quillet");
inline constexpr const char* FilePrefix = QT_TRANSLATE_NOOP("QlConsts", "File ");
inline constexpr const char* TextInput = QT_TRANSLATE_NOOP("QlConsts", "Text input");
inline constexpr const char* WaitTextLoading = QT_TRANSLATE_NOOP("QlConsts", "Wait... text loading");
inline constexpr const char* WaitTextSaving = QT_TRANSLATE_NOOP("QlConsts", "Wait... text saving");
inline constexpr const char* WaitTextWrapping = QT_TRANSLATE_NOOP("QlConsts", "Wait... text wrapping");
inline constexpr const char* WaitTextConverting = QT_TRANSLATE_NOOP("QlConsts", "Wait... text converting");
inline constexpr const char* WaitPreparing = QT_TRANSLATE_NOOP("QlConsts", "Wait... preparing");
inline constexpr const char* WaitPagesPreparing = QT_TRANSLATE_NOOP("QlConsts", "Wait... pages preparing");
inline constexpr const char* WaitPagesPrinting = QT_TRANSLATE_NOOP("QlConsts", "Wait... pages printing");
inline constexpr const char* WaitCompletion = QT_TRANSLATE_NOOP("QlConsts", "Wait... completion");
inline constexpr const char* PageNumberSeparator = QT_TRANSLATE_NOOP("QlConsts", ": ");
inline constexpr const char* PrintPreviewCaption = QT_TRANSLATE_NOOP("QlConsts", "Print preview ");

// Message-box captions and the extra button of the save question
inline constexpr const char* ErrorCaption = QT_TRANSLATE_NOOP("QlConsts", "Error");
inline constexpr const char* InformationCaption = QT_TRANSLATE_NOOP("QlConsts", "Information");
inline constexpr const char* ConfirmationCaption = QT_TRANSLATE_NOOP("QlConsts", "Confirm");
inline constexpr const char* AllButton = QT_TRANSLATE_NOOP("QlConsts", "All");

// File commands
inline constexpr const char* CannotFindFile = QT_TRANSLATE_NOOP("QlConsts", "Can not find the file: ");
inline constexpr const char* TextChangedSaveIt = QT_TRANSLATE_NOOP("QlConsts", "The text was changed. Do you want save it?");
inline constexpr const char* AlreadyExistsRewrite = QT_TRANSLATE_NOOP("QlConsts", " is already exists. Rewrite it?");
inline constexpr const char* RtfExportNotAllowed = QT_TRANSLATE_NOOP("QlConsts", "RTF text export is not allowed");
inline constexpr const char* ExportNotSuccessful = QT_TRANSLATE_NOOP("QlConsts", "File export was not successfull");
// The file dialog could not show every byte of the chosen name, and no single file fits what it showed.
inline constexpr const char* FileNameNotExact = QT_TRANSLATE_NOOP(
    "QlConsts", "Can not use the file name: it holds characters the dialog can not show, so it is not known which file is meant: ");
inline constexpr const char* OpenFilter = QT_TRANSLATE_NOOP(
    "QlConsts", "All files (*.*)|*.*|Text file (*.txt)|*.txt|Text file in RTF format (*.rtf)|*.rtf");
inline constexpr const char* SaveFilter = QT_TRANSLATE_NOOP(
    "QlConsts", "Text file (MS-DOS)|*.*|Text file (Windows)|*.*|Text file (KOI-8R)|*.*|Text file (Macintosh)|*.*|"
                "Text file (ISO 8859-5)|*.*|Text file (Unicode)|*.*|Text in RTF format|*.rtf|"
                "Text file (UTF-8)|*.*");
// A UTF-8 file with bytes that are not UTF-8: %1 is the file name, %2 how many places.
inline constexpr const char* InvalidUtf8Shown = QT_TRANSLATE_NOOP(
    "QlConsts", "The file \"%1\" holds bytes that are not UTF-8, shown as \"\uFFFD\" (%2 in all).\r\n"
                "Saving over the file would replace them.");
inline constexpr const char* InvalidUtf8SaveOver = QT_TRANSLATE_NOOP(
    "QlConsts", "The file \"%1\" holds bytes that are not UTF-8, shown as \"\uFFFD\".\r\n"
                "Saving over it replaces them for good. Save it all the same?");

// Editor stream path
inline constexpr const char* TextLoadingFromMemory = QT_TRANSLATE_NOOP("QlConsts", "Text loading problems from memory ");
inline constexpr const char* TextSavingToMemory = QT_TRANSLATE_NOOP("QlConsts", "Text saving error to memory ");
inline constexpr const char* CannotOpenForWriting = QT_TRANSLATE_NOOP("QlConsts", "Can not open file for writing");
inline constexpr const char* FileWritingError = QT_TRANSLATE_NOOP("QlConsts", "File writting error");
// Loading errors that name the file: %1 is the file name, %2 the system's reason.
inline constexpr const char* CannotOpenFile = QT_TRANSLATE_NOOP("QlConsts", "Cannot open file \"%1\". %2");
inline constexpr const char* NotRegularFile = QT_TRANSLATE_NOOP("QlConsts", "Cannot open \"%1\": it is not a regular file");
inline constexpr const char* FileTooLarge = QT_TRANSLATE_NOOP("QlConsts", "The file \"%1\" is too large to load (%2 characters; the editor holds at most %3)");
inline constexpr const char* FileReadError = QT_TRANSLATE_NOOP("QlConsts", "Error reading file \"%1\". %2");
inline constexpr const char* FileChangedWhileRead = QT_TRANSLATE_NOOP("QlConsts", "The file \"%1\" changed while it was being read");

// Encoding commands and toolbar hints set at run time
inline constexpr const char* TablesWillBeLost = QT_TRANSLATE_NOOP(
    "QlConsts", "Tables structure will be lost by code conversion.\r\n"
                "It is recommended to save the text in RTF format before.");
inline constexpr const char* ObjectsWillBeLost = QT_TRANSLATE_NOOP(
    "QlConsts", "Embedded objects and pictures will be lost by saving as plain text.\r\n"
                "It is recommended to save the text in RTF format.");
inline constexpr const char* ToggleOnWrapping = QT_TRANSLATE_NOOP("QlConsts", "Toggle on lines wrapping");
inline constexpr const char* ToggleOffWrapping = QT_TRANSLATE_NOOP("QlConsts", "Toggle off lines wrapping");

// Search and replace
inline constexpr const char* SubstringNotFound = QT_TRANSLATE_NOOP("QlConsts", "Substring is not found: ");
inline constexpr const char* ReplacementsDone = QT_TRANSLATE_NOOP("QlConsts", " replacements:  ");
inline constexpr const char* ReplacedBy = QT_TRANSLATE_NOOP("QlConsts", " ---> ");

// Saved screens and language
inline constexpr const char* ScreenAlreadySaved = QT_TRANSLATE_NOOP(
    "QlConsts", "Here is already the saved screen. Do you want replace it?");
inline constexpr const char* LanguageAtNextStart = QT_TRANSLATE_NOOP(
    "QlConsts", "Language interface will be changed at the following loading of the program");

// Status bar
inline constexpr const char* InsertState = QT_TRANSLATE_NOOP("QlConsts", "INS");
inline constexpr const char* OverwriteState = QT_TRANSLATE_NOOP("QlConsts", "OVR");
inline constexpr const char* CaretPanelHint = QT_TRANSLATE_NOOP("QlConsts", "[line number, position in line, length of line]");
inline constexpr const char* AllLinesCount = QT_TRANSLATE_NOOP("QlConsts", "All lines count");
inline constexpr const char* OverwriteMode = QT_TRANSLATE_NOOP("QlConsts", "Overwrite mode");
inline constexpr const char* InsertMode = QT_TRANSLATE_NOOP("QlConsts", "Insert mode");

// Embedded objects
inline constexpr const char* ObjectProperties = QT_TRANSLATE_NOOP("QlConsts", "%s Properties");
inline constexpr const char* LinkPropertiesCaption = QT_TRANSLATE_NOOP("QlConsts", "Link Properties");
inline constexpr const char* CannotLinkInvalidSource = QT_TRANSLATE_NOOP("QlConsts", "Cannot link to an invalid source.");
inline constexpr const char* BreakLinkNotSupported = QT_TRANSLATE_NOOP("QlConsts", "Break link operation is not supported.");

// Printing
inline constexpr const char* UnableChangeWhilePrinting = QT_TRANSLATE_NOOP("QlConsts", "Unable to change parameters while printing");
inline constexpr const char* CannotBeginPrinting = QT_TRANSLATE_NOOP("QlConsts", "Not be able to begin the printing");
inline constexpr const char* CannotSavePageMetafile = QT_TRANSLATE_NOOP("QlConsts", "Not be able to save the page in MetaFile");
inline constexpr const char* CannotPrintPreparedPage = QT_TRANSLATE_NOOP("QlConsts", "Not be able to print of prepared page");
inline constexpr const char* CannotEndPrinting = QT_TRANSLATE_NOOP("QlConsts", "Not be able to end the printing");
inline constexpr const char* NoPrinterInstalled = QT_TRANSLATE_NOOP("QlConsts", "None of installed printer");
// The PDF printer's question and its failures; %1 is the file, %2 the system's reason.
inline constexpr const char* PdfTargetCaption = QT_TRANSLATE_NOOP("QlConsts", "Print to PDF file");
inline constexpr const char* PdfFilter = QT_TRANSLATE_NOOP("QlConsts", "PDF file|*.pdf");
inline constexpr const char* CannotWriteFile = QT_TRANSLATE_NOOP("QlConsts", "Can not write the file \"%1\". %2");
inline constexpr const char* NoRoomForText = QT_TRANSLATE_NOOP("QlConsts", "The margins leave no room for the text on the page");
// A column format of a header or footer row whose width is not a number; %1 is the format.
inline constexpr const char* InvalidFloat = QT_TRANSLATE_NOOP("QlConsts", "'%1' is not a valid floating point value");

// Settings dialog, registry and file types
inline constexpr const char* RemoveAllData = QT_TRANSLATE_NOOP("QlConsts", "Are you really will remove all Quillet data from registry?");
inline constexpr const char* OptionsSaved = QT_TRANSLATE_NOOP("QlConsts", "Options were saved in the registry");
inline constexpr const char* KeepRecoveryJournal = QT_TRANSLATE_NOOP("QlConsts", "Keep a recovery journal of unsaved text");
inline constexpr const char* KeepRecoveryJournalHint =
    QT_TRANSLATE_NOOP("QlConsts", "Unsaved text is kept and offered again after a crash or a power cut");
inline constexpr const char* RecoveryJournalDelayHint =
    QT_TRANSLATE_NOOP("QlConsts", "Pause in typing after which unsaved text is written to the journal");
inline constexpr const char* SecondsSuffix = QT_TRANSLATE_NOOP("QlConsts", " s");
inline constexpr const char* RemoveExtension = QT_TRANSLATE_NOOP("QlConsts", "Remove extension ");
inline constexpr const char* RemoveExtensionEnd = QT_TRANSLATE_NOOP("QlConsts", " ?");
inline constexpr const char* ExtensionInputCaption = QT_TRANSLATE_NOOP("QlConsts", "Extension input");
inline constexpr const char* EnterNewExtension = QT_TRANSLATE_NOOP("QlConsts", "Enter a new extension");
inline constexpr const char* CommandLineInRegistry = QT_TRANSLATE_NOOP("QlConsts", "Command line in registry");
inline constexpr const char* ForFilesMask = QT_TRANSLATE_NOOP("QlConsts", " for files *.");
inline constexpr const char* LoadWithQuillet = QT_TRANSLATE_NOOP("QlConsts", "Load with Quillet");
inline constexpr const char* CheckTypesHint = QT_TRANSLATE_NOOP(
    "QlConsts", "Check types of files, that\r\nwill be associated to this program");
// An extension typed into Add that no registry key or desktop glob can hold.
inline constexpr const char* InvalidExtension = QT_TRANSLATE_NOOP("QlConsts", "This extension can not be used: ");
// %1 is the file, folder or tool of the user's desktop that failed, %2 the reason.
inline constexpr const char* DesktopChangeFailed = QT_TRANSLATE_NOOP(
    "QlConsts", "Can not change the file types and menus of the desktop, nothing was saved.\n%1: %2");
// Shown once at start when the registry file cannot be read; the file is kept.
inline constexpr const char* SettingsUnreadable = QT_TRANSLATE_NOOP(
    "QlConsts", "The settings could not be read, the defaults are used. The file was left as it is: ");

// Failures of the registry store; the same texts as the store's own messages.
inline constexpr const char* RegWrongKind = QT_TRANSLATE_NOOP("QlConsts", "Invalid data type of the registry value: ");
inline constexpr const char* RegMissingValue = QT_TRANSLATE_NOOP("QlConsts", "The registry value does not exist: ");
inline constexpr const char* RegKeyFailed = QT_TRANSLATE_NOOP("QlConsts", "Can not open the registry key: ");
inline constexpr const char* RegWriteFailed = QT_TRANSLATE_NOOP("QlConsts", "Can not write to the registry: ");
inline constexpr const char* RegReadFailed = QT_TRANSLATE_NOOP("QlConsts", "Can not read the registry: ");
inline constexpr const char* RegUnavailable = QT_TRANSLATE_NOOP("QlConsts", "Can not open the registry file: ");
inline constexpr const char* RegCorrupt = QT_TRANSLATE_NOOP("QlConsts", "The registry file is damaged or is not a registry: ");

// About box
// The rich-text engine here is the toolkit's GUI library: %1 is its file name, and the
// recommended version is the oldest the program is built for.
inline constexpr const char* RichEditVersionHint = QT_TRANSLATE_NOOP("QlConsts", "Information about version %1 in your PC.");
inline constexpr const char* RichEditRecommendation = QT_TRANSLATE_NOOP("QlConsts", "I recommend the version %1 or above");
inline constexpr const char* RichEditNotLoaded = QT_TRANSLATE_NOOP("QlConsts", "Library %1 is not loaded");
inline constexpr const char* AboutCaption = QT_TRANSLATE_NOOP("QlConsts", "About \"Quillet\"");
inline constexpr const char* AboutProgram = QT_TRANSLATE_NOOP("QlConsts", "Program:  Quillet");
inline constexpr const char* AboutVersion = QT_TRANSLATE_NOOP("QlConsts", "Version :");
inline constexpr const char* AboutLegalNotice = QT_TRANSLATE_NOOP(
    "QlConsts", "Free software under the GNU General Public License, version 3 or later, without any warranty.");
inline constexpr const char* OkButton = QT_TRANSLATE_NOOP("QlConsts", "OK");
inline constexpr const char* AboutSize = QT_TRANSLATE_NOOP("QlConsts", ", Size: ");
inline constexpr const char* AboutBytesDate = QT_TRANSLATE_NOOP("QlConsts", " bytes, Date: ");
inline constexpr const char* AboutTime = QT_TRANSLATE_NOOP("QlConsts", ", Time: ");

// Help window
inline constexpr const char* HelpCaption = QT_TRANSLATE_NOOP("QlConsts", "Quillet help");

// Embedded objects: the rest
inline constexpr const char* ObjectsNotAllowed = QT_TRANSLATE_NOOP(
    "QlConsts", "Objects can not be inserted or pasted: \"OLE objects support\" is switched off in the settings.");
inline constexpr const char* NothingToPasteAsObject = QT_TRANSLATE_NOOP("QlConsts", "The clipboard holds nothing that can be pasted as an object.");
inline constexpr const char* CannotReadFile = QT_TRANSLATE_NOOP("QlConsts", "Can not read the file: ");
inline constexpr const char* ObjectNoProgram = QT_TRANSLATE_NOOP("QlConsts", "There is no program to open objects of this type: %1");
inline constexpr const char* ObjectNotOpened = QT_TRANSLATE_NOOP("QlConsts", "The object can not be opened: %1");
inline constexpr const char* ObjectNeverRuns = QT_TRANSLATE_NOOP("QlConsts", "The object is a program, and programs in documents are never started: %1");
inline constexpr const char* ObjectVerbOpen = QT_TRANSLATE_NOOP("QlConsts", "&Open");
inline constexpr const char* NewPictureKind = QT_TRANSLATE_NOOP("QlConsts", "Picture (PNG)");
inline constexpr const char* NewTextKind = QT_TRANSLATE_NOOP("QlConsts", "Text document");
inline constexpr const char* NewPictureName = QT_TRANSLATE_NOOP("QlConsts", "Picture.png");
inline constexpr const char* NewTextName = QT_TRANSLATE_NOOP("QlConsts", "Text.txt");
inline constexpr const char* ObjectSizeBytes = QT_TRANSLATE_NOOP("QlConsts", "%1 bytes");
inline constexpr const char* ObjectSizeUnknown = QT_TRANSLATE_NOOP("QlConsts", "Unknown");
inline constexpr const char* ObjectEmbeddedIn = QT_TRANSLATE_NOOP("QlConsts", "Embedded in %1");

} // namespace QlConsts

// The text in the language of the installed translation, else as written.
QString Tr(const char* text);
