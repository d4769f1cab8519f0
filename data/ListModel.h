#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One row of a list: the key of the entity it shows (its CURP, or a stored period's row) and the texts of its cells.
struct ListRow {
    QString key;
    QStringList cells;
};

// A list as the grids show it: fixed headers, read-only rows. The rows either come from the store a page at a time
// as the view scrolls (setSource), so a list costs the same to show with ten or a hundred thousand entities, or are
// a working copy held here (setRows, append, remove), as the capture dialogs keep them until "&Aceptar".
class ListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Reads up to `count` rows after the first `offset`; fewer than asked means there are no more.
    using Source = std::function<QList<ListRow>(qsizetype offset, int count)>;

    explicit ListModel(QStringList headers, QObject* parent = nullptr);

    // Reads the first page from the source now; the rest as the view asks. A DatabaseError of the source is
    // thrown from here for the first page; for a later page the list ends where the store failed, with readFailed.
    void setSource(Source source);
    void setRows(QList<ListRow> rows);
    void append(ListRow row);
    void append(QList<ListRow> rows);
    void remove(int row);
    // A corrected row of the working copy, in its place.
    void replace(int row, ListRow value);

    QString key(int row) const;
    // The row of the key among the rows read so far, reading on until it is found or the source ends; -1 if none.
    int rowOf(const QString& key);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // A later page could not be read; the list ends there. engineText: the engine's own words.
    void readFailed(const QString& engineText);

public:
    // How many rows one read brings: a screenful several times over.
    static constexpr int kPage = 256;

private:
    // Empties the list and reads it again from its source.
    void reload();
    QList<ListRow> read(int count) const;

    QStringList headers_;
    QList<ListRow> rows_;
    Source source_;
    bool exhausted_ = true;
};
