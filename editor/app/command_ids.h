#pragma once
// The editor's command identifiers: the framework's standard ones keep their usual values, the program's own
// are those its menus, toolbar and callers on the window bus send in WM_COMMAND.
namespace pad_command {

// Files.
constexpr int kNew = 57600;
constexpr int kOpen = 57601;
constexpr int kClose = 57602;
constexpr int kSave = 57603;
constexpr int kSaveAs = 57604;
constexpr int kPrintSetup = 57606;
constexpr int kPrint = 57607;
constexpr int kPrintDirect = 57608;
constexpr int kPrintPreview = 57609;
constexpr int kRecentFirst = 57616; // 15 recent files, 57616 to 57630
constexpr int kRecentCount = 15;
constexpr int kExit = 57665;
constexpr int kPageSetup = 32769;

// Editing.
constexpr int kUndo = 57643;
constexpr int kCut = 57635;
constexpr int kCopy = 57634;
constexpr int kPaste = 57637;
constexpr int kDelete = 57632;
constexpr int kFind = 57636;
constexpr int kFindNext = 57640;
constexpr int kReplace = 57641;
constexpr int kSelectAll = 57642;
constexpr int kReplaceSeries = 32789;
constexpr int kGoTo = 32782;
constexpr int kWordWrap = 1006;

// Display.
constexpr int kToolBar = 59392;
constexpr int kStatusBar = 59393;
constexpr int kOptions = 32778;
constexpr int kFont = 1004;
constexpr int kPrinterFont = 32770;
constexpr int kSameFontForPrinting = 104;
constexpr int kClearView = 32783;
constexpr int kReadOnlyToggle = 32784;

// Windows.
constexpr int kCascade = 57650;
constexpr int kTileHorizontally = 57651;
constexpr int kArrangeIcons = 57649;
constexpr int kActivateTextScreen = 32776;
constexpr int kClearTextScreen = 32791;
constexpr int kTextScreenReadOnly = 32792;

// Help and the link.
constexpr int kDocumentation = 32785;
constexpr int kTraceBits = 32790;
constexpr int kAbout = 57664;
constexpr int kValidateAndReturn = 32786;
constexpr int kCadZoom = 32787;
constexpr int kSendCoordinates = 32788;

} // namespace pad_command
