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
inline constexpr unsigned kStrRecordNotKept = 150; // %1: the folder or record, and why
inline constexpr unsigned kStrRunNotRecorded = 151;
inline constexpr unsigned kStrRecordUnreadable = 152; // %1: the record, %2: the system's reason
inline constexpr unsigned kStrTooFewRopes = 160;
inline constexpr unsigned kStrNoRecordYet = 161;
inline constexpr unsigned kStrSaveNotWritable = 162; // %1: the file
inline constexpr unsigned kStrSaveDiskFull = 163;    // %1: the file
inline constexpr unsigned kStrSaveFailed = 164;      // %1: the file, %2: the system's reason
inline constexpr unsigned kStrReplaceFile = 166;     // %1: the file

// A run's record that failed: the step (%1 the file, %2 the reason), then what it keeps.
inline constexpr unsigned kStrRecordNotCreated = 180;
inline constexpr unsigned kStrRecordNotWritten = 181;
inline constexpr unsigned kStrRecordNotClosed = 182;
inline constexpr unsigned kStrRecordKeeps = 183;    // %1: frame lines kept
inline constexpr unsigned kStrRecordPassedOn = 184; // %1: frame lines passed on
inline constexpr unsigned kStrRecordLastLine = 185;
// The reasons in the program's own words; any other is the system's.
inline constexpr unsigned kStrReasonDiskFull = 186;
inline constexpr unsigned kStrReasonTooLarge = 187;
inline constexpr unsigned kStrReasonNoPermission = 188;
inline constexpr unsigned kStrReasonNoFolder = 189;

// The live chart's name for assistive technology.
inline constexpr unsigned kStrChartName = 190;

// The rope-tension report (menu entry, details, the document's texts).
inline constexpr unsigned kStrReportMenu = 200;
inline constexpr unsigned kStrReportTitle = 201;
inline constexpr unsigned kStrReportId = 202;
inline constexpr unsigned kStrReportDate = 203;
inline constexpr unsigned kStrReportSite = 204;
inline constexpr unsigned kStrReportLift = 205;
inline constexpr unsigned kStrReportTechnician = 206;
inline constexpr unsigned kStrReportRemark = 207;
inline constexpr unsigned kStrReportDevice = 208;
inline constexpr unsigned kStrReportPort = 209;
inline constexpr unsigned kStrReportFirmware = 210;
inline constexpr unsigned kStrReportProgram = 211;
inline constexpr unsigned kStrReportPeriod = 212; // %1 start, %2 end
inline constexpr unsigned kStrReportRope = 213;
inline constexpr unsigned kStrReportFound = 214;
inline constexpr unsigned kStrReportDeviation = 215;
inline constexpr unsigned kStrReportTarget = 216;
inline constexpr unsigned kStrReportLeft = 217;
inline constexpr unsigned kStrReportState = 218;
inline constexpr unsigned kStrReportSummary = 219;
inline constexpr unsigned kStrReportPass = 220;
inline constexpr unsigned kStrReportFail = 221;
inline constexpr unsigned kStrReportNotAssessed = 222;
inline constexpr unsigned kStrReportRule = 223; // %1 the allowed difference
inline constexpr unsigned kStrReportRuleRelay = 224; // %1 the relay threshold
inline constexpr unsigned kStrReportOutside = 225; // %1 the ropes
inline constexpr unsigned kStrReportNoBlock = 226;
inline constexpr unsigned kStrReportNoLimit = 227;
inline constexpr unsigned kStrReportNoLoad = 228;
inline constexpr unsigned kStrReportFigures = 229; // %1 which loads, %2 mean, %3 min, %4 max, %5 spread, %6 its %
inline constexpr unsigned kStrReportRecords = 230;
inline constexpr unsigned kStrReportSignTechnician = 231;
inline constexpr unsigned kStrReportSignCustomer = 232;
inline constexpr unsigned kStrReportMean = 233;
inline constexpr unsigned kStrReportBand = 234;
inline constexpr unsigned kStrReportHigh = 235;
inline constexpr unsigned kStrReportLow = 236;
inline constexpr unsigned kStrReportFailed = 237; // %1 the file, %2 the reason
inline constexpr unsigned kStrReportSteady = 238; // %1, %2 frames found and left
inline constexpr unsigned kStrReportPlaceDate = 239;

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
