#include "data/ListModel.h"

#include "platform/Database.h"

ListModel::ListModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)) {}

void ListModel::setSource(Source source) {
    source_ = std::move(source);
    reload();
}

QList<ListRow> ListModel::read(int count) const {
    return source_ ? source_(rows_.size(), count) : QList<ListRow>();
}

void ListModel::reload() {
    beginResetModel();
    rows_.clear();
    exhausted_ = true;
    endResetModel();
    if (!source_)
        return;
    QList<ListRow> first = read(kPage);
    exhausted_ = first.size() < kPage;
    if (first.isEmpty())
        return;
    beginInsertRows({}, 0, int(first.size()) - 1);
    rows_ = std::move(first);
    endInsertRows();
}

void ListModel::setRows(QList<ListRow> rows) {
    beginResetModel();
    source_ = nullptr;
    exhausted_ = true;
    rows_ = std::move(rows);
    endResetModel();
}

void ListModel::append(ListRow row) {
    const int at = int(rows_.size());
    beginInsertRows({}, at, at);
    rows_.append(std::move(row));
    endInsertRows();
}

void ListModel::append(QList<ListRow> rows) {
    if (rows.isEmpty())
        return;
    const int at = int(rows_.size());
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    rows_.append(std::move(rows));
    endInsertRows();
}

void ListModel::remove(int row) {
    if (row < 0 || row >= rows_.size())
        return;
    beginRemoveRows({}, row, row);
    rows_.removeAt(row);
    endRemoveRows();
}

void ListModel::replace(int row, ListRow value) {
    if (row < 0 || row >= rows_.size())
        return;
    rows_[row] = std::move(value);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

QString ListModel::key(int row) const {
    return row >= 0 && row < rows_.size() ? rows_.at(row).key : QString();
}

int ListModel::rowOf(const QString& key) {
    for (int r = 0;; ++r) {
        if (r == rows_.size()) {
            if (!canFetchMore({}))
                return -1;
            fetchMore({});
            if (r == rows_.size())
                return -1;
        }
        if (rows_.at(r).key == key)
            return r;
    }
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rows_.size())
        return {};
    return rows_.at(index.row()).cells.value(index.column());
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers_.value(section);
}

bool ListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !exhausted_;
}

void ListModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || exhausted_)
        return;
    QList<ListRow> more;
    try {
        more = read(kPage);
    } catch (const DatabaseError& e) {
        // What was read stays on show.
        exhausted_ = true;
        emit readFailed(e.message());
        return;
    }
    exhausted_ = more.size() < kPage;
    if (more.isEmpty())
        return;
    beginInsertRows({}, int(rows_.size()), int(rows_.size() + more.size()) - 1);
    rows_.append(more);
    endInsertRows();
}
