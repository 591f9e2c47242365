#include "BusinessCommands.h"

#include <QAction>
#include <QActionGroup>

#include "ResultListModel.h"

namespace business {

BusinessCommands::BusinessCommands(QAction* mnuStandardSearch, QAction* mnuWordSearch,
                                   QObject* parent)
    : QObject(parent), m_standard(mnuStandardSearch), m_word(mnuWordSearch) {
    auto* pair = new QActionGroup(this);
    pair->setExclusive(true);
    for (QAction* item : {m_standard, m_word}) {
        item->setCheckable(true);
        pair->addAction(item);
    }
    m_standard->setChecked(true);
}

void BusinessCommands::mnuStandardSearchClick() {
    m_standard->setChecked(true);
}

SearchStyle BusinessCommands::style() const {
    return m_word->isChecked() ? SearchStyle::kWord : SearchStyle::kStandard;
}

qint32 BusinessCommands::run(const QString& comName, const QString& dongCode, qint32 searchKindCode,
                             ResultListModel& model) {
    // Row by row, so that the rows already found are on show when the limit message is up.
    return m_search.run(comName, dongCode, searchKindCode, style(),
                        [&model](search::ResultRow row) { model.appendRow(std::move(row)); });
}

}  // namespace business
