#include "PrintRows.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace print {

std::vector<PrintRow> printRowsOf(const QAbstractItemView& view) {
    std::vector<PrintRow> rows;
    const QAbstractItemModel* model = view.model();
    if (!model) return rows;
    const int count = model->rowCount();
    const int columns = model->columnCount();
    rows.resize(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        QStringList& cells = rows[static_cast<std::size_t>(r)].cells;
        cells.reserve(columns);
        for (int c = 0; c < columns; ++c) cells << model->index(r, c).data().toString();
    }
    // One walk over the selection's ranges instead of a lookup per row.
    if (const QItemSelectionModel* selection = view.selectionModel()) {
        for (const QItemSelectionRange& range : selection->selection()) {
            if (range.parent().isValid()) continue;
            for (int r = range.top(); r <= range.bottom() && r < count; ++r)
                rows[static_cast<std::size_t>(r)].selected = true;
        }
    }
    return rows;
}

}  // namespace print
