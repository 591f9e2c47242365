// The business search as the main window carries it: the check-mark pair "기본검색" /
// "단어검색" that chooses the library's query (the standard search is checked first), the
// library itself, and the rows going into the window's result model. The window keeps its
// own state (counts, mode, selection, panes); this object keeps the rest.
#pragma once

#include <QObject>
#include <QString>

#include "BusinessSearch.h"
#include "Varlink.h"

class QAction;
class QActionGroup;
class ResultListModel;

namespace business {

class BusinessCommands : public QObject {
    Q_OBJECT
public:
    // Makes the two menu items a checkable pair of which exactly one carries the check mark.
    BusinessCommands(QAction* mnuStandardSearch, QAction* mnuWordSearch, QObject* parent);

    // The click on "기본검색": the check mark goes to it.
    void mnuStandardSearchClick();
    SearchStyle style() const;

    // Runs the search into `model`, whose headers the window has just set (which empties
    // it), and returns the number of rows added.
    qint32 run(const QString& comName, const QString& dongCode, qint32 searchKindCode,
               ResultListModel& model);

private:
    QAction* m_standard;
    QAction* m_word;
    Varlink m_library;
    BusinessSearch m_search{m_library};
};

}  // namespace business
