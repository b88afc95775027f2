#include "view/FoundListModel.h"

#include <QBrush>
#include <QColor>

namespace tarwick {

namespace {

const char* const headings[] = {"New", "Pattern", "Bitcoin Public address", "Bitcoin Private key"};

QString fromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

} // namespace

FoundListModel::FoundListModel(const FoundAddressStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void FoundListModel::refresh() {
    beginResetModel();
    endResetModel();
}

int FoundListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(store_.size());
}

int FoundListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant FoundListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= store_.size()) {
        return {};
    }
    const FoundAddress& record = store_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case 0:
            return record.isNew ? QStringLiteral("new") : QStringLiteral(" ");
        case 1:
            return fromLocal(record.pattern);
        case 2:
            return fromLocal(record.publicAddress);
        case 3:
            return fromLocal(record.privateKey);
        }
        return {};
    case Qt::BackgroundRole:
        return QBrush(QColor(0xF0, 0xF0, 0xF0));
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant FoundListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= 4) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromLatin1(headings[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

} // namespace tarwick
