#include "ResourceIcon.h"

#include <cstdlib>

namespace tensiq {

QImage IconImageToQImage(const res::IconImage& image) {
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            const int i = y * image.width + x;
            const bool clear = image.mask != nullptr && image.mask[i] != 0;
            line[x] = clear ? qRgba(0, 0, 0, 0) : image.palette[image.pixels[i] & 0x0F];
        }
    }
    return out;
}

QImage LoadResourceIcon(const res::ResourceModule* module, unsigned id, int size) {
    const res::Icon* icon = res::FindIcon(module, id);
    if (icon == nullptr || icon->imageCount == 0)
        return {};
    const res::IconImage* best = &icon->images[0];
    for (std::size_t i = 1; i < icon->imageCount; ++i)
        if (std::abs(icon->images[i].width - size) < std::abs(best->width - size))
            best = &icon->images[i];
    return IconImageToQImage(*best);
}

} // namespace tensiq
