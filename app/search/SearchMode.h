// What the main window is searching in, which decides the list the result commands act on:
// the name search kind lists into lvResult, the dong search and the surname search inside a
// dong into lvDongResult. The numbers are the ones the windows have always exchanged.
#pragma once

enum class SearchMode {
    None = 0,     // before the first search-kind set-up
    Name = 1,     // the name search kind, or results of a name or local exact-name search
    Dong = 2,     // the dong search
    Surname = 3,  // the surname search inside a dong
};

// The list that holds the results of a mode is lvDongResult for the two dong searches.
inline bool listsIntoDongResult(SearchMode mode) {
    return mode == SearchMode::Dong || mode == SearchMode::Surname;
}
