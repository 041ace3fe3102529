#include "base/qt/QtIcons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

// The icons are compiled into this library; a static library's resources register only when
// something asks for them.
static void RegisterIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace orbisk {

QIcon ResourceIcon(const char* name) {
    RegisterIconResources();
#ifdef ORBISK_PNG_ICONS
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(name)).arg(size),
                     QSize(size, size));
    }
    return icon;
#else
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
#endif
}

namespace {

const char* RowIconName(RowIcon icon) {
    switch (icon) {
        case RowIcon::Stop:
            return "row-stop";
        case RowIcon::SwitchOn:
            return "row-on";
        case RowIcon::Blocking:
            return "row-block";
        case RowIcon::SwitchOff:
            return "row-off";
        case RowIcon::None:
            break;
    }
    return nullptr;
}

}  // namespace

QIcon CycleRowIcon(RowIcon icon, bool hasFrame) {
    static QHash<int, QIcon> cache;
    const int key = static_cast<int>(icon) * 2 + (hasFrame ? 1 : 0) + 4;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd()) return *found;

    // One image for both marks, the state mark first, as a list with state images shows them.
    QPixmap pixmap(34, 16);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        if (hasFrame) ResourceIcon("row-frame").paint(&painter, QRect(0, 0, 16, 16));
        if (const char* name = RowIconName(icon)) {
            ResourceIcon(name).paint(&painter, QRect(18, 0, 16, 16));
        }
    }
    QIcon result(pixmap);
    cache.insert(key, result);
    return result;
}

}  // namespace orbisk
