// The parameter form: its data exchange, showing and collecting a block, and the commands that
// read and write the block and the device's memory image.

#include "RopeLoadDlg.h"

#include "DataExchange.h"
#include "FieldExchange.h"
#include "FieldFormat.h"
#include "FormMapping.h"
#include "LanguageChoice.h"
#include "ResourceIds.h"
#include "UserDialogs.h"
#include "WaitCursor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

namespace tensiq {

namespace {

constexpr int kLiveZeroCheck = form_ids::kLiveZeroCheck;

struct VariantCaption {
    int id;
    const char* german[2]; // flag clear, flag set
    const char* english[2];
};

// In the order the captions are set.
constexpr VariantCaption kVariantCaptions[] = {
    {1013,
     {"erlaubte Seildifferenz", "min. Gewicht pro Seil"},
     {"Rope difference", "min. load per rope"}},
    {1011,
     {"Schlaffseil und Seildiff. Relais", "Schlaffseil Relais"},
     {"Slack rope and rope difference relay", "Slack rope relay"}},
    {1006,
     {"Leerlast Relais", "erlaubte Seildifferenz Relais"},
     {"Empty load relay", "Rope difference relay"}},
};

} // namespace

void CRopeLoadDlg::ConnectFormCommands() {
    connect(&m_readButton, &QAbstractButton::clicked, this, [this] { OnReadParameters(); });
    connect(&m_writeButton, &QAbstractButton::clicked, this, [this] { OnWriteParameters(); });
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(ctl::kReadImage)))
        connect(button, &QAbstractButton::clicked, this, [this] { OnReadImage(); });
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(ctl::kWriteImage)))
        connect(button, &QAbstractButton::clicked, this, [this] { OnWriteImage(); });
    ConnectUnitCommands();
}

void CRopeLoadDlg::ExchangeFormFields(CDataExchange* pDX) {
    ExchangeWeight(pDX, form_ids::kEmptyLoadThreshold, m_form.emptyLoadThreshold);
    ExchangeWeight(pDX, form_ids::kTare, m_form.tare);
    ExchangeWeight(pDX, form_ids::kRopeDifference, m_form.ropeDifference);
    DDX_Text(pDX, form_ids::kRopeCount, m_form.ropeCount);
    DDV_MinMaxUInt(pDX, m_form.ropeCount, kRopeCountMin, kRopeCountMax);
    ExchangeWeight(pDX, form_ids::kOverloadThreshold, m_form.overloadThreshold);
    ExchangeWeight(pDX, form_ids::kSlackRopeThreshold, m_form.slackRopeThreshold);
    ExchangeWeight(pDX, form_ids::kFullLoadThreshold, m_form.fullLoadThreshold);
    DDX_Radio(pDX, form_ids::kEmptyLoadContact, m_form.emptyLoadContact);
    DDX_Radio(pDX, form_ids::kOverloadContact, m_form.overloadContact);
    DDX_Radio(pDX, form_ids::kSlackRopeContact, m_form.slackRopeContact);
    DDX_Radio(pDX, form_ids::kFullLoadContact, m_form.fullLoadContact);
    DDX_Text(pDX, form_ids::kFactor, m_form.factor);
    DDV_MinMaxUInt(pDX, m_form.factor, kFactorMin, kFactorMax);
    DDX_Radio(pDX, form_ids::kUnit, m_form.unit);
    ExchangeWeight(pDX, form_ids::kFullScaleLoad, m_form.fullScaleLoad);
    DDX_Text(pDX, form_ids::kLiveZeroVolts, m_form.liveZeroVolts);
    DDV_MinMaxFloat(pDX, m_form.liveZeroVolts, kLiveZeroMin, kLiveZeroMax);
    DDX_Check(pDX, form_ids::kApplyToPayload, m_form.applyToPayload);
    DDX_Radio(pDX, form_ids::kSensorType, m_form.sensorType);
}

// A weight remembers what it showed, so an untouched field writes its exact kilograms.
void CRopeLoadDlg::ExchangeWeight(CDataExchange* pDX, int id, double& value) {
    if (pDX->Failed())
        return;
    const auto index = static_cast<std::size_t>(WeightIndex(id));
    if (pDX->m_bSaveAndValidate)
        m_shownWeights.Read(index, FieldText(pDX, id).toStdString());
    DDX_Text(pDX, id, value);
    if (!pDX->m_bSaveAndValidate)
        m_shownWeights.Printed(index, FormatReal(value, kDoublePrecision));
}

void CRopeLoadDlg::ShowParameters(ParameterBlock block) {
    const std::optional<bool> liveZero =
        DecodeBlock(block, m_link.FirmwareVersion(), m_form, m_shownWeights);
    if (liveZero)
        if (auto* box = qobject_cast<QCheckBox*>(GetDlgItem(kLiveZeroCheck)))
            box->setChecked(*liveZero);
    update();
    UpdateData(FALSE);
    SetVariantCaptions();
}

void CRopeLoadDlg::SetVariantCaptions() {
    const int language = LanguageCode();
    if (language == kLanguageChinese)
        return;
    const int variant = g_ropeDifferenceVariant != 0 ? 1 : 0;
    for (const VariantCaption& caption : kVariantCaptions) {
        const char* text =
            language == kLanguageEnglish ? caption.english[variant] : caption.german[variant];
        if (auto* label = qobject_cast<QLabel*>(GetDlgItem(caption.id)))
            label->setText(QString::fromUtf8(text));
    }
}

std::optional<ParameterBlock> CRopeLoadDlg::CollectParameters() {
    // A field that failed its check has shown its message; nothing is built from it.
    if (UpdateData(TRUE) == FALSE)
        return std::nullopt;
    const EncodeResult encoded = EncodeBlock(m_form, m_shownWeights, m_storedBlock);
    if (encoded.failure) {
        ShowRealRangeMessage(this, encoded.failure->lowest, encoded.failure->highest,
                             kDoublePrecision);
        if (QWidget* field = GetDlgItem(encoded.failure->control))
            field->setFocus(Qt::OtherFocusReason);
        return std::nullopt;
    }
    // The form keeps the kilograms, as stored.
    const auto weights = m_form.Weights();
    for (std::size_t i = 0; i < kWeightCount; ++i)
        *weights[i] = encoded.kilograms[i];
    return encoded.block;
}

void CRopeLoadDlg::OnReadParameters() {
    bool opened = false;
    bool read = false;
    // The block is read aside, so a failed read keeps the last good one.
    ParameterBlock received;
    {
        CWaitCursor wait;
        opened = OpenPort();
        if (opened) {
            read = m_link.ReadParameters(received);
            if (read)
                m_link.QueryVersion();
        }
    }
    if (!opened || !read)
        ForgetPort(); // drops what the device still sends; the next command looks anew
    if (!opened) {
        ShowCommandMessage(res::kStrNoConnection, res::kStrError);
        return;
    }
    if (!read) {
        ShowCommandMessage(res::kStrReadFailed, res::kStrError);
        return;
    }
    SetStoredBlock(received);
    m_parametersRead = 1;
    m_link.Close();
    m_writeButton.setEnabled(true);
    ShowParameters(m_storedBlock);
}

void CRopeLoadDlg::OnWriteParameters() {
    const std::optional<ParameterBlock> collected = CollectParameters();
    if (!collected)
        return;
    SetStoredBlock(*collected);
    {
        CWaitCursor wait;
        FindPort();
    }
    if (m_parametersRead == 0) {
        ShowCommandMessage(res::kStrNotReadYet, res::kStrError);
        return;
    }
    bool opened = false;
    int result = kWriteNotOpen;
    {
        CWaitCursor wait;
        opened = OpenPort();
        if (opened)
            result = m_link.WriteParameters(m_storedBlock);
    }
    if (!opened || result != kWriteOk)
        ForgetPort(); // a retry must not meet the rest of a read-back
    if (!opened) {
        ShowCommandMessage(res::kStrNoConnection, res::kStrError);
        return;
    }
    if (result != kWriteOk) {
        ShowCommandMessage(res::kStrWriteFailed, res::kStrError);
        return;
    }
    m_link.Close();
    ShowCommandMessage(res::kStrWritten, res::kStrNotice, MB_ICONINFORMATION);
    ShowParameters(m_storedBlock);
}

void CRopeLoadDlg::OnReadImage() {
    // The hidden buttons must not share the port with a run.
    if (m_context.runFlag != 0)
        return;
    bool opened = false;
    {
        CWaitCursor wait;
        opened = OpenPort();
        if (opened) {
            m_link.ReadImage();
            m_link.Close();
        }
    }
    if (!opened) {
        ForgetPort();
        ShowCommandMessage(res::kStrNoConnection, res::kStrError);
    }
}

void CRopeLoadDlg::OnWriteImage() {
    if (m_context.runFlag != 0)
        return;
    bool opened = false;
    bool written = false;
    {
        CWaitCursor wait;
        opened = OpenPort();
        if (opened)
            written = m_link.WriteImage();
    }
    if (!opened) {
        ForgetPort();
        ShowCommandMessage(res::kStrNoConnection, res::kStrError);
        return;
    }
    MessageBox(this, QString::fromLatin1(written ? "Hurra" : "Mist"),
               QApplication::applicationName(), MB_OK);
    m_link.Close();
}

} // namespace tensiq
