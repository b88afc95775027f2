// The found addresses: picking up keys during a run, the list, and the actions on an address.
#include "core/common/UserDialogs.h"
#include "core/found/AddressExport.h"
#include "view/Artwork.h"
#include "view/ConsoleLog.h"
#include "view/FoundListModel.h"
#include "view/SearchRunner.h"
#include "view/TarwickView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QUrl>

namespace tarwick {

namespace {

// The block explorer whose /btc/address/ page shows an address.
constexpr char kExplorerAddressPage[] = "https://www.blockchain.com/btc/address/";

} // namespace

void TarwickView::connectRunHooks() {
    SearchRunHooks hooks;
    hooks.checkFoundKeys = [this] { return checkFoundKeys(); };
    hooks.newKeysFound = [this] {
        RefreshFoundList(true);
        preferences_->saveFoundAddresses();
    };
    hooks.newSearchStarted = [this] {
        if (preferences_->values().scrollLockLight) {
            SetScrollLockLight(false);
        }
    };
    hooks.avoidOverheating = [this] { return preferences_->values().avoidOverheating; };
    hooks.heatPauseStarted = [this] { pauseTimer_.start(); };
    hooks.whyKeepResults = [this] {
        if (!preferences_->allFoundKeysSaved()) {
            return std::string("holds a found key not yet saved in Settings.ini");
        }
        if (foundKeyScanner_->holdsRefusedKeys()) {
            return std::string("holds a key that failed its check");
        }
        return std::string();
    };
    runner_->run().setHooks(std::move(hooks));
}

bool TarwickView::checkFoundKeys() {
    const ViewSettings& chosen = preferences_->values();
    FoundKeyTarget target{foundAddresses_,
                          {chosen.scrollLockLight, chosen.playSound},
                          *this,
                          *widgets_.console,
                          runner_->run().searchedPatterns()};
    const bool added = foundKeyScanner_->check(target);
    if (added) {
        emit foundAddressesChanged();
    }
    return added;
}

void TarwickView::SetScrollLockLight(bool on) {
    keyboard_.setScrollLockLight(on);
}

void TarwickView::beep(int frequencyHz, int durationMs) {
    keyboard_.beep(frequencyHz, durationMs);
}

// The list is refreshed once per pass, after every new record of the pass is in the store.
void TarwickView::foundAddressAdded(std::size_t) {}

void TarwickView::RefreshFoundList(bool selectLast) {
    QTableView& list = *widgets_.foundList;
    foundListModel_->refresh();
    list.clearSelection();
    if (!selectLast || foundAddresses_.empty()) {
        return;
    }
    list.setFocus();
    const QModelIndex last = foundListModel_->index(foundListModel_->rowCount() - 1, 0);
    list.selectionModel()->select(last,
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list.selectionModel()->setCurrentIndex(last, QItemSelectionModel::NoUpdate);
    list.scrollTo(last, QAbstractItemView::EnsureVisible);
}

void TarwickView::OnContextMenu(const QPoint& position) {
    const QModelIndexList rows = widgets_.foundList->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return;
    }
    selectedIndex = rows.last().row();
    const auto row = static_cast<std::size_t>(selectedIndex);
    // The commands act on this address wherever it stands when they run.
    selectedAddress_ = row < foundAddresses_.size() ? foundAddresses_[row].publicAddress : "";

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("foundListMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto item = [menu](int commandId, const char* text, int bitmapId, auto handler) {
        QAction* action =
            menu->addAction(QIcon(artwork(bitmapId, {16, 16})), QString::fromLatin1(text), handler);
        action->setProperty("controlId", commandId);
    };
    item(500, "Bitcoin address info", Bitmap::Info, [this] { ShowAddressInfo(); });
    menu->addSeparator();
    item(501, "Copy Public address", Bitmap::BitcoinSign, [this] { CopyPublicAddress(); });
    item(502, "Copy Private key", Bitmap::Key, [this] { CopyPrivateKey(); });
    item(503, "Copy Public + Private", Bitmap::TwoPages, [this] { ExportAddress(true); });
    menu->addSeparator();
    item(504, "Export Public + Private to a file", Bitmap::Floppy,
         [this] { ExportAddress(false); });
    menu->addSeparator();
    item(505, "Delete", Bitmap::DeleteKey, [this] { DeleteFoundAddress(); });
    item(506, "Delete all", Bitmap::DeleteList, [this] { DeleteAllFoundAddresses(); });
    menu->popup(widgets_.foundList->viewport()->mapToGlobal(position));
}

const FoundAddress* TarwickView::currentAddress() const {
    const std::optional<std::size_t> index = foundAddresses_.indexOf(selectedAddress_);
    return index ? &foundAddresses_[*index] : nullptr;
}

void TarwickView::ShowAddressInfo() {
    if (const FoundAddress* address = currentAddress()) {
        environment_.shell->openUrl(
            kExplorerAddressPage +
            QUrl::toPercentEncoding(QString::fromLocal8Bit(address->publicAddress)).toStdString());
    }
}

void TarwickView::CopyPublicAddress() {
    if (const FoundAddress* address = currentAddress()) {
        CopyToClipboard(address->publicAddress);
    }
}

void TarwickView::CopyPrivateKey() {
    if (const FoundAddress* address = currentAddress()) {
        CopyToClipboard(address->privateKey);
    }
}

void TarwickView::ExportAddress(bool toClipboard) {
    const FoundAddress* address = currentAddress();
    if (!address) {
        return;
    }
    if (toClipboard) {
        CopyToClipboard(addressText(*address));
    } else {
        tarwick::ExportAddress(*address, workDir_, *widgets_.console);
    }
}

void TarwickView::ExportAllAddresses() {
    tarwick::ExportAllAddresses(foundAddresses_, workDir_, *widgets_.console);
}

void TarwickView::CopyToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(text));
}

void TarwickView::DeleteFoundAddress() {
    const std::optional<std::size_t> index = foundAddresses_.indexOf(selectedAddress_);
    if (!index) {
        return;
    }
    foundAddresses_.remove(*index);
    RefreshFoundList(false);
    preferences_->saveFoundAddresses();
    emit foundAddressesChanged();
}

void TarwickView::DeleteAllFoundAddresses() {
    if (foundAddresses_.empty()) {
        return;
    }
    // The question is about the addresses listed now; a key found while it is open must stay.
    const std::unordered_set<std::string> listed = foundAddresses_.publicAddresses();
    if (!environment_.dialogs->askYesNo("Tarwick",
                                        "Do you want to delete all Bitcoin addresses ?")) {
        return;
    }
    foundAddresses_.removeAddresses(listed);
    RefreshFoundList(false);
    preferences_->saveFoundAddresses();
    emit foundAddressesChanged();
}

} // namespace tarwick
