#include "IconButton.h"

#include "CurrentResourceModule.h"
#include "GreyIcon.h"
#include "ResourceIcon.h"
#include "SysColors.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace tensiq {

namespace {
constexpr int kIconSize = 32;
constexpr int kMaxTipWidth = 400;
constexpr int kToolId = 1;
} // namespace

CIconButton::CIconButton(QWidget* parent, DWORD style, int id)
    : CButton(parent, style, id), m_faceColor(GetSysColor(COLOR_BTNFACE)),
      m_textColor(GetSysColor(COLOR_BTNTEXT)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Connected first, so the button sees the click before the parent's handler does.
    connect(this, &QAbstractButton::clicked, this, &CIconButton::OnClicked);
    PreSubclassWindow();
}

CIconButton::~CIconButton() = default;

void CIconButton::PreSubclassWindow() {
    const DWORD style = GetStyle();
    if ((style & 0x0002) != 0)
        m_checkMode = TRUE;
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        m_default = TRUE;
    setDefault(m_default != FALSE);
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

int CIconButton::SetIcons(int inId, int outId) {
    const res::ResourceModule* module = CurrentResourceModule();
    const QImage in = LoadResourceIcon(module, static_cast<unsigned>(inId), kIconSize);
    if (outId == kGreyCopy)
        return SetIconHandles(in, kGreyCopy);
    const QImage out =
        outId != 0 ? LoadResourceIcon(module, static_cast<unsigned>(outId), kIconSize) : QImage();
    return SetIconHandles(in, out);
}

int CIconButton::SetIconHandles(const QImage& in, const QImage& out) {
    return StoreIcons(in, out);
}

int CIconButton::SetIconHandles(const QImage& in, int outSpecial) {
    return StoreIcons(in, outSpecial == kGreyCopy ? CreateGrayscaleIcon(in) : QImage());
}

int CIconButton::StoreIcons(const QImage& in, const QImage& out) {
    m_iconIn = {};
    m_iconOut = {};
    // The size is twice the hot spot: an icon under 2 pixels has no usable size.
    const auto store = [](const QImage& image, IconEntry& entry) {
        if (image.isNull())
            return true;
        entry = {image, 2 * (image.width() / 2), 2 * (image.height() / 2)};
        return entry.width > 0 && entry.height > 0;
    };
    if (!store(in, m_iconIn) || !store(out, m_iconOut)) {
        m_iconIn = {};
        m_iconOut = {};
        return 1;
    }
    update();
    return 0;
}

void CIconButton::CreateToolTip() {
    if (m_toolTip)
        return;
    m_toolTip = std::make_unique<CToolTipCtrl>(this);
    m_toolTip->Activate(false);
    m_toolTip->SetMaxTipWidth(kMaxTipWidth);
}

void CIconButton::SetToolTip(const QString& text, BOOL activate) {
    if (text.isNull())
        return;
    CreateToolTip();
    if (m_toolTip->GetToolCount() == 0)
        m_toolTip->AddTool(kToolId, rect());
    m_toolTip->UpdateTipText(text);
    m_toolTip->Activate(activate != FALSE);
}

int CIconButton::SetCheck(BOOL checked, BOOL repaint) {
    if (m_checkMode != FALSE) {
        m_checked = checked;
        if (repaint != FALSE)
            update();
    }
    return 0;
}

UINT CIconButton::OnGetDlgCode() const {
    return DLGC_BUTTON | (m_default != FALSE ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void CIconButton::SetButtonStyle(UINT style, BOOL redraw) {
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        m_default = TRUE;
    else if ((style & BS_TYPEMASK) == BS_PUSHBUTTON)
        m_default = FALSE;
    setDefault(m_default != FALSE);
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    if (redraw != FALSE)
        update();
}

void CIconButton::OnClicked() {
    setFocus(Qt::MouseFocusReason);
    if (m_checkMode != FALSE) {
        m_checked = m_checked != FALSE ? FALSE : TRUE;
        update();
    }
}

void CIconButton::EndHover() {
    if (m_hover == FALSE)
        return;
    m_hover = FALSE;
    update();
}

bool CIconButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::Leave:
    case QEvent::Wheel:
        CreateToolTip();
        m_toolTip->RelayEvent(event);
        break;
    case QEvent::ToolTip:
        return true; // our own tip shows instead of Qt's
    default:
        break;
    }
    return CButton::event(event);
}

void CIconButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click acts as a second click.
    mousePressEvent(event);
}

void CIconButton::mouseMoveEvent(QMouseEvent* event) {
    CButton::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && m_hover == FALSE)
        return;
    if (rect().contains(event->position().toPoint())) {
        if (m_hover != FALSE)
            return;
        m_hover = TRUE;
        update();
    } else {
        EndHover();
    }
}

void CIconButton::leaveEvent(QEvent* event) {
    CButton::leaveEvent(event);
    EndHover();
}

void CIconButton::focusOutEvent(QFocusEvent* event) {
    CButton::focusOutEvent(event);
    EndHover();
}

void CIconButton::MoveFocusOn() {
    for (QWidget* next = nextInFocusChain(); next != nullptr && next != this;
         next = next->nextInFocusChain()) {
        if (next->window() == window() && next->isEnabled() && !next->isHidden() &&
            (next->focusPolicy() & Qt::TabFocus) != 0) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    if (parentWidget() != nullptr)
        parentWidget()->setFocus(Qt::OtherFocusReason);
}

void CIconButton::changeEvent(QEvent* event) {
    CButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        // Whether or not this button has the focus, it moves on.
        if (!isEnabled()) {
            MoveFocusOn();
            EndHover();
        }
        break;
    case QEvent::ActivationChange:
        if (!isActiveWindow())
            EndHover();
        break;
    case QEvent::PaletteChange:
        m_faceColor = GetSysColor(COLOR_BTNFACE);
        m_textColor = GetSysColor(COLOR_BTNTEXT);
        update();
        break;
    default:
        break;
    }
}

void CIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawItem(painter, DrawItemState());
}

void CIconButton::DrawItem(QPainter& dc, UINT state) {
    m_pressed = (state & ODS_SELECTED) != 0 || (m_checkMode != FALSE && m_checked != FALSE);
    m_focused = (state & ODS_FOCUS) != 0;
    m_disabled = (state & ODS_DISABLED) != 0;

    const QRect item = rect();
    DrawFace(dc, item);
    if (m_pressed != FALSE || m_hover != FALSE)
        DrawFrame(dc, item);

    const QString caption = GetWindowText();
    QRect captionRect = item;
    if (!m_iconIn.image.isNull())
        DrawIconImage(dc, !caption.isEmpty(), item, captionRect, m_pressed != FALSE,
                      m_disabled != FALSE);
    if (!caption.isEmpty())
        DrawCaption(dc, caption, item, captionRect, m_pressed != FALSE, m_disabled != FALSE);
}

void CIconButton::DrawFace(QPainter& dc, const QRect& rect) {
    dc.fillRect(rect, ToQColor(m_faceColor));
}

void CIconButton::DrawFrame(QPainter& dc, const QRect& rect) {
    const bool sunken = m_pressed != FALSE;
    const QColor topLeft = ToQColor(GetSysColor(sunken ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
    const QColor bottomRight = ToQColor(GetSysColor(sunken ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW));
    const int x = rect.left(), y = rect.top(), w = rect.width(), h = rect.height();
    dc.fillRect(x, y, w - 1, 1, topLeft);
    dc.fillRect(x, y, 1, h - 1, topLeft);
    dc.fillRect(x + w - 1, y, 1, h, bottomRight);
    dc.fillRect(x, y + h - 1, w, 1, bottomRight);
}

void CIconButton::DrawIconImage(QPainter& dc, bool hasCaption, const QRect& item, QRect& caption,
                                bool pressed, bool disabled) {
    const bool useIn =
        pressed || (m_checkMode == FALSE && m_hover != FALSE) || m_iconOut.image.isNull();
    const IconEntry& icon = useIn ? m_iconIn : m_iconOut;

    QPoint at = item.topLeft();
    if (hasCaption) {
        at.rx() += kImageMargin;
        caption.setLeft(caption.left() + icon.width + kImageMargin);
    } else {
        at.rx() += (item.width() - icon.width) / 2;
    }
    at.ry() += (item.height() - icon.height) / 2;
    if (pressed && m_checkMode == FALSE)
        at += QPoint(1, 1);

    QPixmap pixmap = QPixmap::fromImage(icon.image.copy(0, 0, icon.width, icon.height));
    if (disabled) {
        QStyleOption option;
        option.initFrom(this);
        pixmap = style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
    }
    dc.drawPixmap(at, pixmap);
}

void CIconButton::DrawCaption(QPainter& dc, const QString& caption, const QRect&, QRect captionRect,
                              bool pressed, bool disabled) {
    if (pressed && m_checkMode == FALSE)
        captionRect.translate(1, 1);
    constexpr int format = Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop;
    dc.setFont(font());
    const QRect block = dc.fontMetrics().boundingRect(captionRect, format, caption);
    const QRect placed(captionRect.left() + (captionRect.width() - block.width()) / 2,
                       captionRect.top() + (captionRect.height() - block.height()) / 2,
                       block.width(), block.height());
    if (disabled) {
        dc.setPen(ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
        dc.drawText(placed.translated(1, 1), format, caption);
        dc.setPen(ToQColor(GetSysColor(COLOR_BTNSHADOW)));
        dc.drawText(placed, format, caption);
    } else {
        dc.setPen(ToQColor(m_textColor));
        dc.drawText(placed, format, caption);
    }
}

} // namespace tensiq
