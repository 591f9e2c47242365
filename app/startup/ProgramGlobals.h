// The program-wide values the start routine sets and the windows read. They are the only
// globals of the main program besides the splitters' field arrays (modAdditionalAPI.h).
#pragma once

#include <QString>

// Root of the directory CD, a native folder path ending in "/".
inline QString strCdDrive;
// Program folder + "/Pro/Docs/", "/Pro/Bin/" and "/dat/".
inline QString strDocsPath;
inline QString strBinPath;
inline QString strDatPath;
// 96 divided by the screen's physical vertical DPI; 1 when that is unknown.
inline float sngDisplayScale = 1.0f;

// The memo mode: 1 people pads, 0 business pads; set by every search-kind set-up.
inline int intMemoPadKind = 1;
// What the print window prints: "결과창:인명", "동결과:인명", "결과창:상호", "메모창:인명",
// "메모창:상호"; set by the print commands.
inline QString strPrintSource;
