// The rows behind a report-style result list (lvSearch, lvResult, lvDongResult): a table of
// texts with headers, filled a page at a time and sorted in place. A page of tens of
// thousands of rows goes in with one insert notification, never one per row.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <vector>

#include "ResultRows.h"

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The tag of a row (the candidate list's "first:count").
    static constexpr int kTagRole = Qt::UserRole + 1;

    explicit ResultListModel(QObject* parent = nullptr);

    // Replaces rows and headers: "empty its items and column headers and add the columns".
    void setHeaders(const QStringList& headers);
    QStringList headers() const { return m_headers; }
    void clear();
    void appendRows(std::vector<search::ResultRow> rows);
    void appendRow(search::ResultRow row);
    // The small picture shown before each item text (none by default).
    void setItemIcon(const QIcon& icon) { m_icon = icon; }

    const search::ResultRow& row(int r) const { return m_rows[static_cast<std::size_t>(r)]; }
    QString cell(int r, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Stable sort of the rows by the texts of one column; rows with equal texts keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QStringList m_headers;
    std::vector<search::ResultRow> m_rows;
    QIcon m_icon;
};
