#include "platform/bitmaps.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <map>
#include <memory>
#include <string>

struct BITMAPHANDLE {
    UINT id;
    std::string path;
    QPixmap pixmap;
    bool loaded = false;
};
struct ICONHANDLE {
    UINT id;
    std::string path;
};

namespace platform {
namespace {

std::map<UINT, std::unique_ptr<BITMAPHANDLE>>& Bitmaps() {
    static std::map<UINT, std::unique_ptr<BITMAPHANDLE>> bitmaps;
    return bitmaps;
}
std::map<UINT, std::unique_ptr<ICONHANDLE>>& Icons() {
    static std::map<UINT, std::unique_ptr<ICONHANDLE>> icons;
    return icons;
}

QPixmap Render(const std::string& path) {
    QString p = QString::fromStdString(path);
    if (p.endsWith(".svg", Qt::CaseInsensitive)) {
        QSvgRenderer renderer(p);
        if (!renderer.isValid()) return {};
        QPixmap pixmap(renderer.defaultSize());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        return pixmap;
    }
    return QPixmap(p);
}

}  // namespace

void RegisterBitmap(UINT id, const char* path) {
    Bitmaps()[id] = std::make_unique<BITMAPHANDLE>(BITMAPHANDLE{id, path, {}, false});
}

void RegisterIcon(UINT id, const char* path) {
    Icons()[id] = std::make_unique<ICONHANDLE>(ICONHANDLE{id, path});
}

HBITMAP LoadBitmapResource(UINT id) {
    auto it = Bitmaps().find(id);
    return it == Bitmaps().end() ? nullptr : it->second.get();
}

HICON LoadIconResource(UINT id) {
    auto it = Icons().find(id);
    return it == Icons().end() ? nullptr : it->second.get();
}

UINT BitmapResourceId(HBITMAP bitmap) {
    return bitmap ? bitmap->id : 0;
}

QPixmap BitmapPixmap(HBITMAP bitmap) {
    if (!bitmap) return {};
    if (!bitmap->loaded) {
        bitmap->pixmap = Render(bitmap->path);
        bitmap->loaded = true;
    }
    return bitmap->pixmap;
}

QIcon IconOf(HICON icon) {
    if (!icon) return {};
    return QIcon(QString::fromStdString(icon->path));
}

}  // namespace platform
