#include "Dialog.h"

#include "ButtonCtrl.h"
#include "CurrentResourceModule.h"
#include "DataExchange.h"
#include "DialogButtonStyle.h"
#include "ProgressCtrl.h"
#include "ResourceIcon.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTimerEvent>

namespace tensiq {

namespace {

const char* const kIdProperty = "dlgCtrlId";

Qt::Alignment AlignmentOf(const res::DialogControl& c) {
    switch (c.align) {
    case res::Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case res::Align::Centre:
        return Qt::AlignHCenter | Qt::AlignTop;
    case res::Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

DWORD ButtonStyle(const res::DialogControl& c) {
    DWORD style = c.Has(res::kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (c.Has(res::kMultiLine))
        style |= BS_MULTILINE;
    return style;
}

DWORD ProgressStyle(const res::DialogControl& c) {
    DWORD style = 0;
    if (c.Has(res::kVertical))
        style |= PBS_VERTICAL;
    if (c.Has(res::kSmooth))
        style |= PBS_SMOOTH;
    if (c.Has(res::kBorder))
        style |= WS_BORDER;
    return style;
}

void SetControlText(QWidget& widget, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(&widget))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(&widget))
        edit->setText(text);
    else if (auto* progress = qobject_cast<CProgressCtrl*>(&widget))
        progress->SetWindowText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(&widget))
        group->setTitle(text);
    // Other members (labels of their own drawing) take their text through their own setters.
}

} // namespace

QWidget* CDataExchange::PrepareCtrl(int id) {
    m_idLastControl = id;
    return m_pDlgWnd->GetDlgItem(id);
}

void CDataExchange::Fail() {
    m_failed = true;
    if (QWidget* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
        control->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->selectAll();
    }
}

void DDX_Control(CDataExchange* pDX, int id, QWidget& member) {
    if (pDX->Failed() || pDX->m_pDlgWnd->GetDlgItem(id) == &member)
        return;
    pDX->m_pDlgWnd->SubclassDlgItem(id, member);
}

CDialog::CDialog(unsigned templateId, QWidget* parent)
    : QDialog(parent), m_templateId(templateId) {}

CDialog::~CDialog() {
    for (const auto& [id, qtId] : m_timers)
        killTimer(qtId);
}

DWORD CDialog::ButtonStyleOf(unsigned templateId, int id) {
    const res::DialogTemplate* dialog = res::FindDialog(CurrentResourceModule(), templateId);
    const res::DialogControl* control = dialog != nullptr ? res::FindControl(*dialog, id) : nullptr;
    return control != nullptr ? ButtonStyle(*control) : BS_PUSHBUTTON;
}

bool CDialog::Create() {
    if (m_created)
        return m_template != nullptr;
    m_created = true;
    m_template = res::FindDialog(CurrentResourceModule(), m_templateId);
    if (m_template == nullptr)
        return false;
    m_units = std::make_unique<DialogUnits>(*m_template);
    setFont(m_units->Font());
    setWindowTitle(QString::fromUtf8(m_template->caption));
    // A modal frame with a system menu: a close box, no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // No template has a sizing border: its controls are placed for this size and no other.
    setFixedSize(m_units->ClientSize(*m_template));

    m_controls.reserve(m_template->controlCount);
    for (std::size_t i = 0; i < m_template->controlCount; ++i) {
        const res::DialogControl& entry = m_template->controls[i];
        m_controls.push_back({&entry, CreateControl(entry)});
    }
    // Group boxes are frames only: they lie below everything and never take a click.
    for (const Control& c : m_controls)
        if (c.entry->kind == res::ControlKind::GroupBox)
            c.widget->lower();
    CreateRadioGroups();
    ChainTabOrder();
    if (OnInitDialog() != FALSE) {
        for (const Control& c : m_controls) {
            QWidget* w = c.widget;
            if (w != nullptr && w->isEnabled() && !w->isHidden() &&
                (w->focusPolicy() & Qt::TabFocus) != 0) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    return true;
}

INT_PTR CDialog::DoModal() {
    if (!Create())
        return -1;
    return exec();
}

void CDialog::EndDialog(int result) {
    done(result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

QWidget* CDialog::GetDlgItem(int id) const {
    if (id == res::kNoId)
        return nullptr;
    for (const Control& c : m_controls)
        if (c.entry->id == id)
            return c.widget;
    return nullptr;
}

const res::DialogControl* CDialog::TemplateControl(int id) const {
    return m_template != nullptr ? res::FindControl(*m_template, id) : nullptr;
}

QButtonGroup* CDialog::RadioGroup(int id) const {
    const auto it = m_radioGroups.find(id);
    return it != m_radioGroups.end() ? it->second : nullptr;
}

QWidget* CDialog::CreateControl(const res::DialogControl& c) {
    QWidget* widget = MakeControlWidget(c);
    widget->setProperty(kIdProperty, c.id);
    if (c.id != res::kNoId)
        widget->setObjectName(QStringLiteral("ctl%1").arg(c.id));
    widget->setGeometry(m_units->ToPixels(c));
    widget->setEnabled(!c.Has(res::kDisabled));
    widget->setHidden(c.Has(res::kHidden));
    ConnectCommand(widget, c.id);
    return widget;
}

// The widget of a template control's kind, with its text and the styles of its kind.
QWidget* CDialog::MakeControlWidget(const res::DialogControl& c) {
    const QString text = QString::fromUtf8(c.text);
    QWidget* widget = nullptr;
    switch (c.kind) {
    case res::ControlKind::PushButton:
    case res::ControlKind::IconButton: {
        auto* button = new CButton(this, ButtonStyle(c), c.id);
        button->setText(text);
        button->setDefault(c.Has(res::kDefault));
        widget = button;
        break;
    }
    case res::ControlKind::AutoRadio:
        widget = new QRadioButton(text, this);
        widget->setStyle(SharedDialogButtonStyle());
        break;
    case res::ControlKind::AutoCheckBox:
        widget = new QCheckBox(text, this);
        widget->setStyle(SharedDialogButtonStyle());
        break;
    case res::ControlKind::GroupBox: {
        auto* box = new QGroupBox(text, this);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        widget = box;
        break;
    }
    case res::ControlKind::Edit: {
        auto* edit = new QLineEdit(text, this);
        edit->setFrame(c.Has(res::kBorder));
        widget = edit;
        break;
    }
    case res::ControlKind::Static: {
        auto* label = new QLabel(text, this);
        label->setAlignment(AlignmentOf(c));
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case res::ControlKind::StaticIcon: {
        auto* label = new QLabel(this);
        label->setPixmap(
            QPixmap::fromImage(LoadResourceIcon(CurrentResourceModule(), c.iconId, 32)));
        widget = label;
        break;
    }
    case res::ControlKind::ProgressBar: {
        auto* progress = new CProgressCtrl(this, ProgressStyle(c));
        progress->SetWindowText(text);
        widget = progress;
        break;
    }
    case res::ControlKind::Custom:
        widget = new QWidget(this);
        break;
    }
    return widget;
}

// A group runs from one group start to the next; its radios check each other out. The group
// decides over a radio's auto-exclusivity, which stays on: without it a screen reader is told
// the radio is a check box.
void CDialog::CreateRadioGroups() {
    QButtonGroup* group = nullptr;
    for (const Control& c : m_controls) {
        if (c.entry->Has(res::kGroup))
            group = nullptr;
        auto* radio = qobject_cast<QRadioButton*>(c.widget.data());
        if (radio == nullptr)
            continue;
        if (group == nullptr) {
            group = new QButtonGroup(this);
            group->setExclusive(true);
        }
        group->addButton(radio, c.entry->id);
        m_radioGroups[c.entry->id] = group;
    }
}

// The framework's own commands: OK and Cancel by their ids.
void CDialog::ConnectCommand(QWidget* widget, int id) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (button == nullptr)
        return;
    if (id == IDOK)
        connect(button, &QAbstractButton::clicked, this, [this] { OnOK(); });
    else if (id == IDCANCEL)
        connect(button, &QAbstractButton::clicked, this, [this] { OnCancel(); });
}

void CDialog::ChainTabOrder() {
    QWidget* previous = nullptr;
    for (const Control& c : m_controls) {
        QWidget* w = c.widget;
        if (w == nullptr || (w->focusPolicy() & Qt::TabFocus) == 0)
            continue;
        if (previous != nullptr)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

bool CDialog::SubclassDlgItem(int id, QWidget& widget) {
    for (Control& c : m_controls) {
        if (c.entry->id != id)
            continue;
        QWidget* old = c.widget;
        if (old == &widget)
            return true;
        widget.setParent(this);
        widget.setProperty(kIdProperty, id);
        widget.setObjectName(QStringLiteral("ctl%1").arg(id));
        if (old != nullptr) {
            widget.setGeometry(old->geometry());
            widget.setEnabled(old->isEnabled());
            widget.setHidden(old->isHidden());
            widget.stackUnder(old);
        } else {
            widget.setGeometry(m_units->ToPixels(*c.entry));
        }
        SetControlText(widget, QString::fromUtf8(c.entry->text));
        if (auto* progress = qobject_cast<CProgressCtrl*>(&widget))
            progress->ModifyStyle(0, ProgressStyle(*c.entry));
        if (auto* button = qobject_cast<CButton*>(&widget))
            if (c.entry->Has(res::kMultiLine))
                button->ModifyStyle(0, BS_MULTILINE);
        c.widget = &widget;
        delete old;
        ConnectCommand(&widget, id);
        ChainTabOrder();
        return true;
    }
    return false;
}

void CDialog::SetTimer(UINT_PTR id, UINT elapseMs) {
    KillTimer(id);
    m_timers[id] = startTimer(static_cast<int>(elapseMs));
}

bool CDialog::KillTimer(UINT_PTR id) {
    const auto it = m_timers.find(id);
    if (it == m_timers.end())
        return false;
    killTimer(it->second);
    m_timers.erase(it);
    return true;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

void CDialog::OnOK() {
    if (UpdateData(TRUE) == FALSE)
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnTimer(UINT_PTR /*id*/) {}

void CDialog::OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}

void CDialog::accept() {
    OnOK();
}

void CDialog::reject() {
    OnCancel();
}

void CDialog::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QDialog::timerEvent(event);
}

void CDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const UINT type = isMinimized()   ? SIZE_MINIMIZED
                      : isMaximized() ? SIZE_MAXIMIZED
                                      : SIZE_RESTORED;
    OnSize(type, event->size().width(), event->size().height());
}

} // namespace tensiq
