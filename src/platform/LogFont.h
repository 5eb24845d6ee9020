#pragma once
// Font description in the platform's terms and the conversions to and from Qt fonts.

#include <QFont>
#include <QString>

namespace tensiq {

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;
inline constexpr int LF_FACESIZE = 32;

struct LOGFONT {
    int lfHeight = 0; // < 0: character height in pixels, > 0: cell height
    int lfWidth = 0;
    int lfEscapement = 0; // tenths of a degree, counter-clockwise
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    unsigned char lfItalic = 0;
    unsigned char lfUnderline = 0;
    unsigned char lfStrikeOut = 0;
    unsigned char lfCharSet = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

// Copies at most LF_FACESIZE - 1 bytes of UTF-8, never splitting a character.
void SetFaceName(LOGFONT& font, const QString& name);
QString FaceName(const LOGFONT& font);

QFont CreateFontIndirect(const LOGFONT& font);
LOGFONT LogFontFromQFont(const QFont& font, int dpiY);
// The height of a font of the given size in tenths of a point on a screen of dpiY.
int PointFontHeight(int tenthsOfPoint, int dpiY);

} // namespace tensiq
