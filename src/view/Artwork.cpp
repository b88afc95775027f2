#include "view/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: referencing them here keeps the linker from
// dropping them.
static void initialiseArtworkResources() {
    Q_INIT_RESOURCE(tarwick);
}

namespace tarwick {

namespace {

struct Picture {
    int id;
    const char* path;
    QSize naturalSize;
};

constexpr Picture pictures[] = {
    {Bitmap::AppIcon, ":/images/icon128.svg", {256, 256}},
    {Bitmap::Edit, ":/images/edit129.svg", {32, 32}},
    {Bitmap::Play, ":/images/play130.svg", {16, 16}},
    {Bitmap::Stop, ":/images/stop131.svg", {16, 16}},
    {Bitmap::Logo, ":/images/logo132.svg", {300, 100}},
    {Bitmap::VanitygenCredit, ":/images/credit133.svg", {300, 180}},
    {Bitmap::Exit, ":/images/exit134.svg", {16, 16}},
    {Bitmap::Sheet, ":/images/sheet135.svg", {16, 16}},
    {Bitmap::Floppy, ":/images/floppy136.svg", {16, 16}},
    {Bitmap::About, ":/images/about137.svg", {16, 16}},
    {Bitmap::Info, ":/images/info138.svg", {16, 16}},
    {Bitmap::BitcoinSign, ":/images/bitcoin139.svg", {16, 16}},
    {Bitmap::Key, ":/images/key140.svg", {16, 16}},
    {Bitmap::TwoPages, ":/images/pages141.svg", {16, 16}},
    {Bitmap::DeleteKey, ":/images/delete142.svg", {16, 16}},
    {Bitmap::DeleteList, ":/images/deleteall143.svg", {16, 16}},
    {Bitmap::Book, ":/images/book144.svg", {16, 16}},
    {Bitmap::Gauge, ":/images/gauge145.svg", {16, 16}},
};

const Picture* findPicture(int id) {
    for (const Picture& picture : pictures) {
        if (picture.id == id) {
            return &picture;
        }
    }
    return nullptr;
}

} // namespace

QPixmap artwork(int bitmapId, QSize size) {
    static const bool initialised = (initialiseArtworkResources(), true);
    Q_UNUSED(initialised);
    const Picture* picture = findPicture(bitmapId);
    if (!picture) {
        return {};
    }
    QSvgRenderer renderer(QString::fromLatin1(picture->path));
    if (!renderer.isValid()) {
        return {};
    }
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QPixmap artwork(int bitmapId) {
    const Picture* picture = findPicture(bitmapId);
    return picture ? artwork(bitmapId, picture->naturalSize) : QPixmap{};
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addPixmap(artwork(Bitmap::AppIcon, {size, size}));
    }
    return icon;
}

} // namespace tarwick
