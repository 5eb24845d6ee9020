#include "ShapedTextCache.h"

#include <QFontMetrics>
#include <QTransform>

namespace tensiq {

namespace {

// A bar's readings are at most a few hundred strings; past this a run of odd texts starts over.
constexpr qsizetype kMostKept = 1024;

} // namespace

const ShapedTextCache::Shaped& ShapedTextCache::Get(const QString& text, const QFont& font) {
    if (font != m_font || m_shaped.size() >= kMostKept) {
        m_shaped.clear();
        m_font = font;
    }
    auto found = m_shaped.find(text);
    if (found != m_shaped.end())
        return *found;
    const QFontMetrics fm(font);
    Shaped shaped;
    shaped.glyphs = QStaticText(text);
    shaped.glyphs.setTextFormat(Qt::PlainText);
    shaped.glyphs.setPerformanceHint(QStaticText::AggressiveCaching);
    shaped.glyphs.prepare(QTransform(), font);
    shaped.advance = fm.horizontalAdvance(text);
    shaped.ascent = fm.ascent();
    shaped.descent = fm.descent();
    return *m_shaped.insert(text, std::move(shaped));
}

} // namespace tensiq
