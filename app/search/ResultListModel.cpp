#include "ResultListModel.h"

#include <algorithm>
#include <numeric>

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultListModel::setHeaders(const QStringList& headers) {
    beginResetModel();
    m_rows.clear();
    m_headers = headers;
    endResetModel();
}

void ResultListModel::clear() {
    if (m_rows.empty()) return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ResultListModel::appendRows(std::vector<search::ResultRow> rows) {
    if (rows.empty()) return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    if (m_rows.empty()) {
        m_rows = std::move(rows);
    } else {
        m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                      std::make_move_iterator(rows.end()));
    }
    endInsertRows();
}

void ResultListModel::appendRow(search::ResultRow row) {
    std::vector<search::ResultRow> one;
    one.push_back(std::move(row));
    appendRows(std::move(one));
}

QString ResultListModel::cell(int r, int column) const {
    if (r < 0 || r >= rowCount()) return {};
    const QStringList& cells = row(r).cells;
    return column >= 0 && column < cells.size() ? cells[column] : QString();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::max<qsizetype>(m_headers.size(), 1));
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return cell(index.row(), index.column());
        case Qt::DecorationRole:
            if (index.column() == 0 && !m_icon.isNull()) return m_icon;
            return {};
        case kTagRole:
            return row(index.row()).tag;
        default:
            return {};
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section >= 0 && section < m_headers.size() ? m_headers[section] : QVariant();
}

void ResultListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || m_rows.size() < 2) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    // Sort positions, so persistent indexes (the selection) follow their rows.
    std::vector<int> positions(m_rows.size());
    std::iota(positions.begin(), positions.end(), 0);
    auto key = [&](int r) -> const QString& {
        static const QString empty;
        const QStringList& c = m_rows[static_cast<std::size_t>(r)].cells;
        return column < c.size() ? c[column] : empty;
    };
    std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
        const int c = QString::compare(key(a), key(b), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    std::vector<search::ResultRow> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newPosition(m_rows.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        sorted.push_back(std::move(m_rows[static_cast<std::size_t>(positions[i])]));
        newPosition[static_cast<std::size_t>(positions[i])] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) {
        after << index(newPosition[static_cast<std::size_t>(i.row())], i.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
