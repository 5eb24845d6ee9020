#pragma once
// The resource ids the program looks up; every resource module carries all of them.

namespace tensiq::res {

inline constexpr unsigned kAboutBoxDialog = 100;
inline constexpr unsigned kMainDialog = 102;

inline constexpr unsigned kStrAboutMenu = 101;
inline constexpr unsigned kStrNoSync = 102;
inline constexpr unsigned kStrTotal = 103;
inline constexpr unsigned kStrTipSave = 104;
inline constexpr unsigned kStrTipSwitchView = 105;
inline constexpr unsigned kStrTipNextRope = 106;
inline constexpr unsigned kStrTipStartStop = 107;
inline constexpr unsigned kStrTipQuit = 108;
inline constexpr unsigned kStrTipAssistant = 109;
inline constexpr unsigned kStrTipWrite = 110;
inline constexpr unsigned kStrTipRead = 111;
inline constexpr unsigned kStrNoConnection = 112;
inline constexpr unsigned kStrError = 113;
inline constexpr unsigned kStrReadFailed = 114;
inline constexpr unsigned kStrNotReadYet = 115;
inline constexpr unsigned kStrWriteFailed = 116;
inline constexpr unsigned kStrNotice = 117;
inline constexpr unsigned kStrWritten = 118;
inline constexpr unsigned kStrStart = 119;
inline constexpr unsigned kStrStop = 120;
inline constexpr unsigned kStrAssistantWarning = 121;
inline constexpr unsigned kStrAssistantEnd = 122;
inline constexpr unsigned kStrAssistantStart = 123;
inline constexpr unsigned kStrTextFile = 124;
inline constexpr unsigned kStrAllFiles = 125;
inline constexpr unsigned kStrSaveAs = 126;
// Added beside 112 when a port will not open: where a Linux user finds the cause.
inline constexpr unsigned kStrNoConnectionHint = 127;

// Texts of this program's own, beyond the original table.
inline constexpr unsigned kStrTooFewRopes = 160;
inline constexpr unsigned kStrNoRecordYet = 161;
inline constexpr unsigned kStrSaveNotWritable = 162; // %1: the file
inline constexpr unsigned kStrSaveDiskFull = 163;    // %1: the file
inline constexpr unsigned kStrSaveFailed = 164;      // %1: the file, %2: the system's reason
inline constexpr unsigned kStrReplaceFile = 166; // %1: the file

// The saved-run viewer.
inline constexpr unsigned kStrOpenRecordMenu = 240;
inline constexpr unsigned kStrViewerTitle = 241;
inline constexpr unsigned kStrRopeN = 242;
inline constexpr unsigned kStrFitAll = 243;
inline constexpr unsigned kStrExportCsv = 244;
inline constexpr unsigned kStrExportPng = 245;
inline constexpr unsigned kStrCancelLoad = 246;
inline constexpr unsigned kStrColSeries = 247;
inline constexpr unsigned kStrColCursor = 248;
inline constexpr unsigned kStrColMean = 249;
inline constexpr unsigned kStrColMin = 250;
inline constexpr unsigned kStrColMax = 251;
inline constexpr unsigned kStrColStd = 252;
inline constexpr unsigned kStrSpread = 253;
inline constexpr unsigned kStrCursorAt = 254;
inline constexpr unsigned kStrRangeOf = 255;
inline constexpr unsigned kStrCannotOpenRecord = 256;
inline constexpr unsigned kStrNotARecord = 257;
inline constexpr unsigned kStrBadLine = 258;
inline constexpr unsigned kStrOpenTitle = 259;
inline constexpr unsigned kStrCsvFile = 260;
inline constexpr unsigned kStrPngFile = 261;
inline constexpr unsigned kStrExportFailed = 262;
inline constexpr unsigned kStrChart = 263;
inline constexpr unsigned kStrValuesTable = 264;
inline constexpr unsigned kStrLoading = 265;
inline constexpr unsigned kStrProblemEmpty = 266;
inline constexpr unsigned kStrProblemBinary = 267;
inline constexpr unsigned kStrProblemNoDate = 268;
inline constexpr unsigned kStrProblemBadLoad = 269;
inline constexpr unsigned kStrProblemTooFew = 270;
inline constexpr unsigned kStrProblemExtra = 271;
inline constexpr unsigned kStrProblemEmptyLine = 272;
inline constexpr unsigned kStrProblemCutOff = 273;
inline constexpr unsigned kStrShowSeries = 274;
inline constexpr unsigned kStrCutAll = 275;

// Messages of the form's data exchange, under the ids the framework gives them.
inline constexpr unsigned kStrParseReal = 61713;
inline constexpr unsigned kStrIntRange = 61714;
inline constexpr unsigned kStrRealRange = 61715;
inline constexpr unsigned kStrParseUnsigned = 61719;

inline constexpr unsigned kIconProgram = 128;
inline constexpr unsigned kIconWrite = 129;
inline constexpr unsigned kIconQuit = 130;
inline constexpr unsigned kIconRead = 131;
inline constexpr unsigned kIconAssistant = 132;
inline constexpr unsigned kIconStart = 133;
inline constexpr unsigned kIconStop = 134;
inline constexpr unsigned kIconNextRope = 135;
inline constexpr unsigned kIconShowBars = 136;
inline constexpr unsigned kIconShowChart = 137;
inline constexpr unsigned kIconSave = 138;

} // namespace tensiq::res
