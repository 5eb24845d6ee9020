#include "FieldExchange.h"

#include "Dialog.h"
#include "FieldFormat.h"
#include "ResourceIds.h"
#include "ResourceText.h"
#include "UserDialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>

namespace tensiq {

namespace {

// A parse failure has no icon, a range failure the exclamation mark; the caption is the
// application's name.
void Message(CDataExchange* pDX, const QString& text, UINT type) {
    MessageBox(pDX->m_pDlgWnd, text, QString(), type);
}

void ParseFailed(CDataExchange* pDX, unsigned id) {
    Message(pDX, ResourceText(id), MB_OK);
    pDX->Fail();
}

QLineEdit* Edit(const CDataExchange* pDX, int id) {
    return qobject_cast<QLineEdit*>(pDX->m_pDlgWnd->GetDlgItem(id));
}

void SetEditText(CDataExchange* pDX, int id, const std::string& text) {
    if (QLineEdit* edit = Edit(pDX, id)) {
        edit->setText(QString::fromStdString(text));
        // A narrow edit shows the leading digits, as the framework's edit does.
        edit->setCursorPosition(0);
    }
}

template <typename Real> void ExchangeReal(CDataExchange* pDX, int id, Real& value, int precision) {
    if (pDX->Failed())
        return;
    pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        SetEditText(pDX, id, FormatReal(value, precision));
        return;
    }
    double parsed = 0.0;
    if (!ParseReal(FieldText(pDX, id).toStdString(), parsed)) {
        ParseFailed(pDX, res::kStrParseReal);
        return;
    }
    value = static_cast<Real>(parsed);
}

} // namespace

QString FieldText(const CDataExchange* pDX, int id) {
    QLineEdit* edit = Edit(pDX, id);
    return edit != nullptr ? QString::fromStdString(CutFieldText(edit->text().toStdString()))
                           : QString();
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    ExchangeReal(pDX, id, value, kDoublePrecision);
}

void DDX_Text(CDataExchange* pDX, int id, float& value) {
    ExchangeReal(pDX, id, value, kFloatPrecision);
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
    if (pDX->Failed())
        return;
    pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        SetEditText(pDX, id, FormatUnsigned(value));
        return;
    }
    unsigned parsed = 0;
    if (!ParseUnsigned(FieldText(pDX, id).toStdString(), parsed)) {
        ParseFailed(pDX, res::kStrParseUnsigned);
        return;
    }
    value = parsed;
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value) {
    if (pDX->Failed())
        return;
    pDX->PrepareCtrl(firstId);
    QButtonGroup* group = pDX->m_pDlgWnd->RadioGroup(firstId);
    if (group == nullptr)
        return;
    const QList<QAbstractButton*> radios = group->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < radios.size(); ++i)
            if (radios[i]->isChecked())
                value = i;
        return;
    }
    // An exclusive group cannot be emptied by unchecking; drop the rule for the moment.
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (int i = 0; i < radios.size(); ++i)
        radios[i]->setChecked(i == value);
    group->setExclusive(exclusive);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX->Failed())
        return;
    pDX->PrepareCtrl(id);
    auto* box = qobject_cast<QCheckBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (box == nullptr)
        return;
    // The framework counts 0 unchecked, 1 checked, 2 indeterminate; Qt puts checked last.
    if (pDX->m_bSaveAndValidate) {
        switch (box->checkState()) {
        case Qt::Checked:
            value = 1;
            break;
        case Qt::PartiallyChecked:
            value = 2;
            break;
        default:
            value = 0;
            break;
        }
        return;
    }
    if (value == 2) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
    } else {
        box->setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minimum, UINT maximum) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value >= minimum && value <= maximum)
        return;
    Message(pDX,
            ResourceText(res::kStrIntRange)
                .replace(QLatin1String("%1"), QString::fromStdString(FormatUnsigned(minimum)))
                .replace(QLatin1String("%2"), QString::fromStdString(FormatUnsigned(maximum))),
            MB_ICONEXCLAMATION);
    pDX->Fail();
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minimum, float maximum) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value >= minimum && value <= maximum)
        return;
    ShowRealRangeMessage(pDX->m_pDlgWnd, minimum, maximum, kFloatPrecision);
    pDX->Fail();
}

void ShowRealRangeMessage(QWidget* parent, double minimum, double maximum, int precision) {
    const QString text =
        ResourceText(res::kStrRealRange)
            .replace(QLatin1String("%1"), QString::fromStdString(FormatReal(minimum, precision)))
            .replace(QLatin1String("%2"), QString::fromStdString(FormatReal(maximum, precision)));
    MessageBox(parent, text, QString(), MB_ICONEXCLAMATION);
}

} // namespace tensiq
