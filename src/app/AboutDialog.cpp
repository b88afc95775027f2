#include "app/AboutDialog.h"

#include "core/layout/DialogUnits.h"
#include "view/Artwork.h"
#include "view/FormFonts.h"
#include "view/FormWidgets.h"

#include <QLabel>
#include <QPushButton>

namespace tarwick {

namespace {

class DialogPlacer {
public:
    explicit DialogPlacer(QDialog& dialog) : dialog_(dialog), base_(baseUnitsOf(dialog)) {}

    template <typename Widget>
    Widget* place(Widget* widget, const char* objectName, int x, int y, int width, int height) {
        widget->setParent(&dialog_);
        widget->setObjectName(QString::fromLatin1(objectName));
        const PixelRect r = dialogRectToPixels(x, y, width, height, base_);
        widget->setGeometry(r.x, r.y, r.width, r.height);
        return widget;
    }

    QLabel* text(const QString& text, const char* objectName, int x, int y, int width, int height) {
        auto* label = place(new QLabel(text), objectName, x, y, width, height);
        label->setTextFormat(Qt::PlainText);
        return label;
    }

    QLabel* link(const char* url, const char* tooltip, const char* objectName, int x, int y) {
        auto* link = place(new QLabel, objectName, x, y, 9, 6);
        link->setTextFormat(Qt::RichText);
        link->setText(QStringLiteral("<a href=\"%1\">Go:</a>").arg(QString::fromLatin1(url)));
        link->setOpenExternalLinks(true);
        link->setToolTip(QString::fromLatin1(tooltip));
        link->setProperty("url", QString::fromLatin1(url));
        link->adjustSize();
        return link;
    }

    int width(int units) const { return dialogUnitsToPixelsX(units, base_); }
    int height(int units) const { return dialogUnitsToPixelsY(units, base_); }

private:
    QDialog& dialog_;
    DialogBaseUnits base_;
};

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Tarwick"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(formFont());
    DialogPlacer at(*this);
    setFixedSize(at.width(212), at.height(130));

    auto* icon = at.place(new QLabel, "aboutIcon", 9, 12, 20, 20);
    icon->setPixmap(artwork(Bitmap::AppIcon, icon->size()));
    at.text(QStringLiteral("Tarwick v1.1a"), "aboutVersion", 33, 10, 59, 8);
    at.text(QStringLiteral("Vanity Bitcoin addresses, kept on your machine."), "aboutNotice", 33,
            20, 110, 8);
    at.link(tarwickWebSite, "Visit Tarwick Official Web Site", "aboutWebLink", 33, 31)
        ->setProperty("controlId", 1016);
    at.text(QString::fromLatin1(tarwickWebSite), "aboutWebAddress", 43, 30, 126, 8);
    at.text(QStringLiteral("Donations:"), "aboutDonations", 33, 42, 43, 8);
    at.link(donationExplorerPage, "You can send BTC to the following address:", "aboutDonationLink",
            33, 50)
        ->setProperty("controlId", 1017);
    at.text(QString::fromLatin1(donationAddress), "aboutDonationAddress", 43, 49, 155, 8);
    at.text(QStringLiteral("Vanitygen:"), "aboutVanitygen", 33, 63, 38, 8);
    at.link(vanitygenWiki, "Visit Vanitygen Wiki", "aboutWikiLink", 33, 72)
        ->setProperty("controlId", 1120);
    at.text(QString::fromLatin1(vanitygenWiki), "aboutWikiAddress", 43, 71, 107, 8);
    at.text(QStringLiteral("Icons: ") + QString::fromLatin1(iconSite), "aboutIcons", 33, 84, 102,
            8);
    at.text(QString(), "aboutBlank", 33, 98, 163, 8);
    auto* ok = at.place(new QPushButton(QStringLiteral("OK")), "aboutOk", 154, 109, 50, 14);
    ok->setDefault(true);
    ok->setProperty("controlId", 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace tarwick
