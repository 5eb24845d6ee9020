#include "LogFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tensiq {

void SetFaceName(LOGFONT& font, const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    int length = std::min<int>(static_cast<int>(utf8.size()), LF_FACESIZE - 1);
    // Back off to a character boundary: continuation bytes are 10xxxxxx.
    while (length > 0 && length < utf8.size() && (utf8[length] & 0xC0) == 0x80)
        --length;
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, utf8.constData(), static_cast<std::size_t>(length));
}

QString FaceName(const LOGFONT& font) {
    return QString::fromUtf8(font.lfFaceName);
}

QFont CreateFontIndirect(const LOGFONT& font) {
    QFont out(FaceName(font));
    if (font.lfHeight != 0)
        out.setPixelSize(std::abs(font.lfHeight));
    // Qt's weights are the same 100 ... 900 scale.
    out.setWeight(static_cast<QFont::Weight>(std::clamp(font.lfWeight, 100, 900)));
    out.setItalic(font.lfItalic != 0);
    out.setUnderline(font.lfUnderline != 0);
    out.setStrikeOut(font.lfStrikeOut != 0);
    return out;
}

LOGFONT LogFontFromQFont(const QFont& font, int dpiY) {
    LOGFONT out;
    out.lfHeight =
        font.pixelSize() > 0
            ? -font.pixelSize()
            : PointFontHeight(static_cast<int>(std::lround(font.pointSizeF() * 10)), dpiY);
    out.lfWeight = static_cast<int>(font.weight());
    out.lfItalic = font.italic() ? 1 : 0;
    out.lfUnderline = font.underline() ? 1 : 0;
    out.lfStrikeOut = font.strikeOut() ? 1 : 0;
    SetFaceName(out, font.family());
    return out;
}

int PointFontHeight(int tenthsOfPoint, int dpiY) {
    return -static_cast<int>(std::lround(tenthsOfPoint * dpiY / 720.0));
}

} // namespace tensiq
