#pragma once
// Strings laid out once and drawn many times: a bar repaints the same few numbers sixty times a
// second, and laying a string out costs more than drawing it.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

namespace tensiq {

class ShapedTextCache {
public:
    struct Shaped {
        QStaticText glyphs;
        int advance = 0; // as QFontMetrics::horizontalAdvance
        int ascent = 0;
        int descent = 0;
    };

    const Shaped& Get(const QString& text, const QFont& font);

private:
    QFont m_font;
    QHash<QString, Shaped> m_shaped;
};

} // namespace tensiq
