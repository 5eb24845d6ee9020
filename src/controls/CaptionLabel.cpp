#include "CaptionLabel.h"

#include "SysColors.h"

#include <QDesktopServices>
#include <QEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QTimerEvent>
#include <QUrl>

#include <algorithm>

namespace tensiq {

namespace {
constexpr int kBlinkMs = 500;
constexpr int kMaxGradientBands = 100;
} // namespace

CCaptionLabel::CCaptionLabel(QWidget* parent, DWORD style, int id)
    : CStatic(parent, style, id), m_foreColor(GetSysColor(COLOR_WINDOWTEXT)),
      m_faceBrush(GetSysColor(COLOR_BTNFACE)), m_logFont(LogFontFromQFont(font(), logicalDpiY())),
      m_font(CreateFontIndirect(m_logFont)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CCaptionLabel::~CCaptionLabel() = default;

CCaptionLabel& CCaptionLabel::SetBackground(COLORREF colour, COLORREF endColour, BOOL gradient) {
    m_gradientEnd = endColour;
    m_backgroundColor = colour;
    m_gradient = gradient;
    m_backgroundBrush.reset();
    if (gradient == FALSE)
        m_backgroundBrush = colour;
    Repaint();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetForeColor(COLORREF colour) {
    m_foreColor = colour;
    Repaint();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetCaption(const QString& text, BOOL repaint) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, text, repaint] { SetCaption(text, repaint); }, Qt::QueuedConnection);
        return *this;
    }
    if (text == m_caption)
        return *this;
    m_caption = text;
    if (repaint != FALSE)
        Repaint();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetBold(BOOL on) {
    m_logFont.lfWeight = on != FALSE ? FW_BOLD : FW_NORMAL;
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetFaceName(const QString& name, unsigned char charset) {
    m_logFont.lfCharSet = charset;
    tensiq::SetFaceName(m_logFont, name);
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetUnderline(BOOL on) {
    m_logFont.lfUnderline = on != FALSE ? 1 : 0;
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetItalic(BOOL on) {
    m_logFont.lfItalic = on != FALSE ? 1 : 0;
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetPointSize(int points) {
    m_logFont.lfHeight = PointFontHeight(points * 10, logicalDpiY());
    m_logFont.lfWidth = 0;
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetStaticEdge(BOOL on) {
    ModifyStyleEx(on != FALSE ? 0 : WS_EX_STATICEDGE, on != FALSE ? WS_EX_STATICEDGE : 0);
    return *this;
}

CCaptionLabel& CCaptionLabel::SetFrameBorder(BOOL on) {
    ModifyStyle(on != FALSE ? 0 : WS_BORDER, on != FALSE ? WS_BORDER : 0);
    return *this;
}

CCaptionLabel& CCaptionLabel::SetSeeThrough(BOOL on) {
    m_seeThrough = on;
    ModifyStyleEx(0, WS_EX_TRANSPARENT);
    // The parent shows through only when the label does not claim every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent, on == FALSE);
    Repaint();
    return *this;
}

CCaptionLabel& CCaptionLabel::BlinkText(BOOL on) {
    StopBlinkTimer();
    if (on != FALSE) {
        m_blinkPhase = FALSE;
        m_blinkTimer = startTimer(kBlinkMs);
        m_blinkMode = 1;
    } else {
        m_blinkMode = 0;
    }
    return *this;
}

CCaptionLabel& CCaptionLabel::BlinkBackground(BOOL on) {
    StopBlinkTimer();
    if (on != FALSE) {
        m_blinkPhase = FALSE;
        m_blinkTimer = startTimer(kBlinkMs);
        m_blinkMode = 2;
    }
    return *this;
}

CCaptionLabel& CCaptionLabel::SetUrlLink(BOOL on, BOOL notify) {
    m_linkMode = on != FALSE ? 1 : 0;
    m_notifyOnClick = notify;
    ModifyStyle(on != FALSE ? 0 : SS_NOTIFY, on != FALSE ? SS_NOTIFY : 0);
    return *this;
}

CCaptionLabel& CCaptionLabel::SetPointerCursor(const QCursor& cursor) {
    setCursor(cursor);
    return *this;
}

CCaptionLabel& CCaptionLabel::SetShadowText(BOOL on, int direction) {
    m_shadow = on;
    m_shadowDirection = direction;
    Repaint();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetAngle(int degrees, BOOL on) {
    m_logFont.lfEscapement = degrees * 10;
    m_logFont.lfOrientation = degrees * 10;
    m_rotated = on;
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetShadowColor(COLORREF colour) {
    m_shadowColor = colour;
    Repaint();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetLogFont(const LOGFONT& description) {
    m_logFont = description;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    NewFont();
    return *this;
}

CCaptionLabel& CCaptionLabel::SetMailtoLink(BOOL on, BOOL notify) {
    m_linkMode = on != FALSE ? 2 : 0;
    m_notifyOnClick = notify;
    ModifyStyle(on != FALSE ? 0 : SS_NOTIFY, on != FALSE ? SS_NOTIFY : 0);
    return *this;
}

CCaptionLabel& CCaptionLabel::SetLinkTarget(const QString& url) {
    m_linkTarget = url;
    return *this;
}

void CCaptionLabel::Repaint() {
    repaint();
    if (m_seeThrough != FALSE && parentWidget() != nullptr)
        parentWidget()->repaint(geometry());
}

void CCaptionLabel::NewFont() {
    m_font = CreateFontIndirect(m_logFont);
    Repaint();
}

void CCaptionLabel::StopBlinkTimer() {
    if (m_blinkTimer != 0)
        killTimer(m_blinkTimer);
    m_blinkTimer = 0;
}

int CCaptionLabel::TextFormat() const {
    const DWORD style = GetStyle();
    if ((style & SS_CENTERIMAGE) != 0)
        return m_caption.contains(QStringLiteral("\r\n"))
                   ? int(Qt::AlignHCenter)
                   : Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine;
    int format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format = Qt::AlignHCenter | Qt::TextWordWrap;
        break;
    case SS_RIGHT:
        format = Qt::AlignRight | Qt::TextWordWrap;
        break;
    case SS_LEFTNOWORDWRAP:
        format = Qt::AlignLeft;
        break;
    default:
        format = Qt::AlignLeft | Qt::TextWordWrap;
        break;
    }
    if (m_caption.contains(QLatin1Char('\t')))
        format |= Qt::TextExpandTabs;
    return format | Qt::AlignTop;
}

void CCaptionLabel::PaintGradient(QPainter& painter, const QRect& g) const {
    const int w = g.width();
    const int n = std::min(kMaxGradientBands, w);
    const int d = std::max(n, 1);
    const int r0 = GetRValue(m_backgroundColor) * 256;
    const int g0 = GetGValue(m_backgroundColor) * 256;
    const int b0 = GetBValue(m_backgroundColor) * 256;
    const int rStep = ((GetRValue(m_gradientEnd) - GetRValue(m_backgroundColor)) * 256) / d;
    const int gStep = ((GetGValue(m_gradientEnd) - GetGValue(m_backgroundColor)) * 256) / d;
    const int bStep = ((GetBValue(m_gradientEnd) - GetBValue(m_backgroundColor)) * 256) / d;
    const int bandWidth = w / d;
    int x = g.left();
    for (int i = 0; i < n; ++i) {
        const int end = i == n - 1 ? g.left() + w : x + bandWidth;
        const QColor colour((r0 + i * rStep) / 256, (g0 + i * gStep) / 256, (b0 + i * bStep) / 256);
        painter.fillRect(QRect(x, g.top(), end - x, g.height()), colour);
        x = end;
    }
}

void CCaptionLabel::paintEvent(QPaintEvent*) {
    QPainter screen(this);
    drawFrame(&screen);
    const QRect client = contentsRect();
    const QRect r(QPoint(0, 0), client.size());
    const QString caption = m_caption;

    QImage buffer;
    QPainter memory;
    QPainter* dc = &screen;
    if (m_seeThrough == FALSE) {
        buffer = QImage(r.size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
        buffer.setDevicePixelRatio(devicePixelRatioF());
        memory.begin(&buffer);
        dc = &memory;
    } else {
        screen.translate(client.topLeft());
    }
    dc->setFont(m_font);

    if (m_seeThrough == FALSE) {
        if (m_gradient != FALSE)
            PaintGradient(*dc, r);
        else
            dc->fillRect(r, ToQColor(m_backgroundBrush.value_or(m_faceBrush)));
    }

    COLORREF textColour = m_foreColor;
    if (m_blinkMode == 1 && m_blinkPhase == FALSE)
        textColour = m_backgroundBrush.value_or(RGB(0, 0, 0));
    dc->setPen(ToQColor(textColour));

    if (m_rotated != FALSE) {
        dc->save();
        dc->translate(r.width() / 2, r.height() / 2);
        dc->rotate(-m_logFont.lfEscapement / 10.0);
        dc->drawText(QPoint(0, 0), caption);
        dc->restore();
    } else {
        const int format = TextFormat();
        dc->drawText(r, format, caption);
        if (m_shadow != FALSE) {
            dc->setPen(ToQColor(m_shadowColor));
            const int shift = m_shadowDirection != 0 ? 1 : -1;
            dc->drawText(r.translated(shift, shift), format, caption);
        }
    }

    if (m_seeThrough == FALSE) {
        memory.end();
        screen.drawImage(client.topLeft(), buffer);
    }
}

void CCaptionLabel::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_blinkTimer || m_blinkTimer == 0) {
        CStatic::timerEvent(event);
        return;
    }
    m_blinkPhase = m_blinkPhase == FALSE ? TRUE : FALSE;
    Repaint();
}

void CCaptionLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (m_notifyOnClick != FALSE) {
            emit Notify(GetDlgCtrlID(), kCaptionLabelClickCode);
        } else {
            const QString text = GetWindowText();
            if (m_linkMode == 1)
                QDesktopServices::openUrl(QUrl(m_linkTarget.isEmpty() ? text : m_linkTarget));
            else if (m_linkMode == 2)
                QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + text));
        }
    }
    CStatic::mousePressEvent(event);
}

void CCaptionLabel::changeEvent(QEvent* event) {
    CStatic::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        m_faceBrush = GetSysColor(COLOR_BTNFACE);
        Repaint();
    }
}

} // namespace tensiq
