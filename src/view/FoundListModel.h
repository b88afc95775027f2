#pragma once

#include "core/found/FoundAddressStore.h"

#include <QAbstractTableModel>

namespace tarwick {

// The found-address store as the four columns of "Bitcoin addresses found:". The list reads the
// store directly, so a refresh costs the same for ten rows or ten thousand.
class FoundListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FoundListModel(const FoundAddressStore& store, QObject* parent = nullptr);

    // The store changed: the rows are read anew.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static constexpr int columnWidths[4] = {50, 120, 350, 530};

private:
    const FoundAddressStore& store_;
};

} // namespace tarwick
