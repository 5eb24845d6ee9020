#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace tensiq {

namespace {

bool Installed(const QString& family) {
    return QFontDatabase::families().contains(family);
}

// Rounded a * b / c, as MulDiv does it.
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    return static_cast<int>(p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c));
}

} // namespace

QString DialogFontFamily(const QString& face) {
    if (face.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 ||
        face.compare(QLatin1String("MS Shell Dlg"), Qt::CaseInsensitive) == 0) {
        for (const char* family : {"Liberation Sans", "DejaVu Sans"})
            if (Installed(QString::fromLatin1(family)))
                return QString::fromLatin1(family);
        return QStringLiteral("Sans Serif");
    }
    if (face.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    return face;
}

QFont DialogFont(const QString& face, int pointSize) {
    QFont font(DialogFontFamily(face));
    font.setPixelSize(MulDiv(pointSize, 96, 72));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) : m_font(font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (width / 26 + 1) / 2;
    m_baseY = metrics.height();
}

DialogUnits::DialogUnits(const res::DialogTemplate& dialog)
    : DialogUnits(DialogFont(QString::fromUtf8(dialog.fontFace), dialog.pointSize)) {}

int DialogUnits::ToPixelsX(int units) const {
    return MulDiv(units, m_baseX, 4);
}

int DialogUnits::ToPixelsY(int units) const {
    return MulDiv(units, m_baseY, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    return QRect(left, top, ToPixelsX(x + cx) - left, ToPixelsY(y + cy) - top);
}

QRect DialogUnits::ToPixels(const res::DialogControl& control) const {
    return ToPixels(control.x, control.y, control.cx, control.cy);
}

QSize DialogUnits::ClientSize(const res::DialogTemplate& dialog) const {
    return QSize(ToPixelsX(dialog.cx), ToPixelsY(dialog.cy));
}

} // namespace tensiq
