// SPDX-License-Identifier: MIT
#include "platform/ui/icon.h"

#include <QIcon>
#include <QPixmap>
#include <map>
#include <memory>

#include "res/icon_images.h"

namespace ui {

struct LoadedIcon {
    QIcon icon;
};

namespace {

// Handles stay valid until the process ends, like the platform's shared icons; the map is
// never destroyed so that no pixmap outlives the toolkit at exit.
std::map<int, std::unique_ptr<LoadedIcon>>& Cache() {
    static auto* cache = new std::map<int, std::unique_ptr<LoadedIcon>>;
    return *cache;
}

}  // namespace

QIcon ToQIcon(HICON icon) {
    return icon ? icon->icon : QIcon();
}

}  // namespace ui

HICON LoadIconResource(int resourceId) {
    auto& cache = ui::Cache();
    if (const auto found = cache.find(resourceId); found != cache.end()) {
        return found->second.get();
    }
    const auto images = res::FindIconImages(resourceId);
    if (images.empty()) {
        return nullptr;
    }
    auto loaded = std::make_unique<ui::LoadedIcon>();
    for (const res::IconImage& image : images) {
        loaded->icon.addPixmap(QPixmap(image.xpm));
    }
    return cache.emplace(resourceId, std::move(loaded)).first->second.get();
}
