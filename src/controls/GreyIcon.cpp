#include "GreyIcon.h"

namespace tensiq {

QImage CreateGrayscaleIcon(const QImage& icon) {
    if (icon.isNull())
        return {};
    const QImage source = icon.convertToFormat(QImage::Format_ARGB32);
    const int width = 2 * (source.width() / 2);
    const int height = 2 * (source.height() / 2);
    QImage grey(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int r = qRed(in[x]);
            const int g = qGreen(in[x]);
            const int b = qBlue(in[x]);
            const int value = static_cast<int>(g * 0.587 + b * 0.114 + r * 0.299);
            out[x] = (r | g | b) != 0 ? qRgba(value, value, value, qAlpha(in[x]))
                                      : qRgba(0, 0, 0, qAlpha(in[x]));
        }
    }
    return grey;
}

} // namespace tensiq
