#pragma once

#include <QDialog>

namespace tarwick {

// The About box: version, a notice, and links to the program's site, a donation address and the
// generator's wiki.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

inline constexpr char tarwickWebSite[] = "https://tarwick.org/";
// Stands in until the team's donation wallet exists: its checksum is deliberately wrong, so every
// wallet refuses to send to it and no coin can be lost on it.
inline constexpr char donationAddress[] = "1TarwickDonationsXXXXXXXXXXXXXXXXX";
inline constexpr char donationExplorerPage[] =
    "https://www.blockchain.com/btc/address/1TarwickDonationsXXXXXXXXXXXXXXXXX";
inline constexpr char vanitygenWiki[] = "https://en.bitcoin.it/wiki/Vanitygen";
inline constexpr char iconSite[] = "https://tarwick.org/artwork";

} // namespace tarwick
