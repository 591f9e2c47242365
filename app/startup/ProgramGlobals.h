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
