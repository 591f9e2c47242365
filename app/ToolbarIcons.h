// The toolbar's icons, drawn by the program in one style and one size so the nine buttons
// line up (the platform's stock icons differ in size and meaning from theme to theme, and
// none of them is a telephone or a printer everywhere).
#pragma once

#include <QIcon>

enum class ToolbarIcon {
    Back,
    Forward,
    Memo,
    Printer,
    Label,
    SelectAll,
    Telephone,
    WebCall,
    Settings
};

// The icon at kToolbarIconSize pixels (and twice that for high-density screens).
QIcon toolbarIcon(ToolbarIcon which);

inline constexpr int kToolbarIconSize = 24;
