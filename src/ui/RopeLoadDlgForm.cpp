// The parameter form: its data exchange, showing and collecting a block, and the commands that
// read and write the block and the device's memory image.

#include "RopeLoadDlg.h"

#include "DataExchange.h"
#include "FieldExchange.h"
#include "FieldFormat.h"
#include "FormMapping.h"
#include "LanguageChoice.h"
#include "LocalisedString.h"
#include "ResourceIds.h"
#include "ResourceText.h"
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

// In the order the captions are set. Three are shorter than the texts first given for them,
// which took more lines than their labels hold; they abbreviate as "Seildiff." does in 1011.
constexpr VariantCaption kVariantCaptions[] = {
    {1013,
     {"erlaubte Seildifferenz", "min. Gewicht pro Seil"},
     {"Rope difference", "min. load per rope"}},
    {1011,
     {"Schlaffseil und Seildiff. Relais", "Schlaffseil Relais"},
     {"Slack rope and rope diff. relay", "Slack rope relay"}},
    {1006, {"Leerlast Relais", "Seildiff. Relais"}, {"Empty load relay", "Rope diff. relay"}},
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
    ExchangeWeight(pDX, form_ids::kEmptyLoadThreshold, m_emptyLoadThreshold);
    ExchangeWeight(pDX, form_ids::kTare, m_tare);
    ExchangeWeight(pDX, form_ids::kRopeDifference, m_ropeDifference);
    DDX_Text(pDX, form_ids::kRopeCount, m_ropeCount);
    DDV_MinMaxUInt(pDX, m_ropeCount, kRopeCountMin, kRopeCountMax);
    ExchangeWeight(pDX, form_ids::kOverloadThreshold, m_overloadThreshold);
    ExchangeWeight(pDX, form_ids::kSlackRopeThreshold, m_slackRopeThreshold);
    ExchangeWeight(pDX, form_ids::kFullLoadThreshold, m_fullLoadThreshold);
    DDX_Radio(pDX, form_ids::kEmptyLoadContact, m_emptyLoadContact);
    DDX_Radio(pDX, form_ids::kOverloadContact, m_overloadContact);
    DDX_Radio(pDX, form_ids::kSlackRopeContact, m_slackRopeContact);
    DDX_Radio(pDX, form_ids::kFullLoadContact, m_fullLoadContact);
    DDX_Text(pDX, form_ids::kFactor, m_factor);
    DDV_MinMaxUInt(pDX, m_factor, kFactorMin, kFactorMax);
    DDX_Radio(pDX, form_ids::kUnit, m_unit);
    ExchangeWeight(pDX, form_ids::kFullScaleLoad, m_fullScaleLoad);
    DDX_Text(pDX, form_ids::kLiveZeroVolts, m_liveZeroVolts);
    DDV_MinMaxFloat(pDX, m_liveZeroVolts, kLiveZeroMin, kLiveZeroMax);
    DDX_Check(pDX, form_ids::kApplyToPayload, m_applyToPayload);
    DDX_Radio(pDX, form_ids::kSensorType, m_sensorType);
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

FormValues CRopeLoadDlg::FormMembers() const {
    FormValues v;
    v.emptyLoadThreshold = m_emptyLoadThreshold;
    v.tare = m_tare;
    v.ropeDifference = m_ropeDifference;
    v.ropeCount = m_ropeCount;
    v.overloadThreshold = m_overloadThreshold;
    v.slackRopeThreshold = m_slackRopeThreshold;
    v.fullLoadThreshold = m_fullLoadThreshold;
    v.emptyLoadContact = m_emptyLoadContact;
    v.overloadContact = m_overloadContact;
    v.slackRopeContact = m_slackRopeContact;
    v.fullLoadContact = m_fullLoadContact;
    v.factor = m_factor;
    v.unit = m_unit;
    v.fullScaleLoad = m_fullScaleLoad;
    v.liveZeroVolts = m_liveZeroVolts;
    v.applyToPayload = m_applyToPayload;
    v.sensorType = m_sensorType;
    return v;
}

void CRopeLoadDlg::SetFormMembers(const FormValues& v) {
    m_emptyLoadThreshold = v.emptyLoadThreshold;
    m_tare = v.tare;
    m_ropeDifference = v.ropeDifference;
    m_ropeCount = v.ropeCount;
    m_overloadThreshold = v.overloadThreshold;
    m_slackRopeThreshold = v.slackRopeThreshold;
    m_fullLoadThreshold = v.fullLoadThreshold;
    m_emptyLoadContact = v.emptyLoadContact;
    m_overloadContact = v.overloadContact;
    m_slackRopeContact = v.slackRopeContact;
    m_fullLoadContact = v.fullLoadContact;
    m_factor = v.factor;
    m_unit = v.unit;
    m_fullScaleLoad = v.fullScaleLoad;
    m_liveZeroVolts = v.liveZeroVolts;
    m_applyToPayload = v.applyToPayload;
    m_sensorType = v.sensorType;
}

void CRopeLoadDlg::ShowParameters(ParameterBlock block) {
    FormValues values = FormMembers();
    const std::optional<bool> liveZero =
        DecodeBlock(block, m_link.FirmwareVersion(), values, m_shownWeights);
    SetFormMembers(values);
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
    const EncodeResult encoded = EncodeBlock(FormMembers(), m_shownWeights, m_storedBlock);
    if (encoded.failure) {
        ShowRealRangeMessage(this, encoded.failure->lowest, encoded.failure->highest,
                             kDoublePrecision);
        if (QWidget* field = GetDlgItem(encoded.failure->control))
            field->setFocus(Qt::OtherFocusReason);
        return std::nullopt;
    }
    // The members keep the kilograms, as stored.
    m_emptyLoadThreshold = encoded.kilograms[0];
    m_fullLoadThreshold = encoded.kilograms[1];
    m_overloadThreshold = encoded.kilograms[2];
    m_slackRopeThreshold = encoded.kilograms[3];
    m_tare = encoded.kilograms[4];
    m_ropeDifference = encoded.kilograms[5];
    m_fullScaleLoad = encoded.kilograms[6];
    return encoded.block;
}

void CRopeLoadDlg::ShowFormMessage(unsigned textId, unsigned captionId, UINT icon) {
    const QString text =
        textId == res::kStrNoConnection ? NoConnectionText() : ResourceText(textId);
    MessageBox(this, text, ResourceText(captionId), icon);
}

void CRopeLoadDlg::OnReadParameters() {
    bool opened = false;
    bool read = false;
    // The block is read aside, so a failed read keeps the last good one.
    ParameterBlock received;
    {
        CWaitCursor wait;
        if (m_comPort == -1)
            m_comPort = m_link.DiscoverPort(-1);
        opened = m_link.Open(m_comPort);
        if (opened) {
            read = m_link.ReadParameters(received);
            if (read)
                m_link.QueryVersion();
        }
    }
    if (!opened || !read)
        ForgetPort(); // drops what the device still sends; the next command looks anew
    if (!opened) {
        ShowFormMessage(res::kStrNoConnection, res::kStrError, MB_ICONHAND);
        return;
    }
    if (!read) {
        ShowFormMessage(res::kStrReadFailed, res::kStrError, MB_ICONHAND);
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
    if (m_comPort == -1) {
        CWaitCursor wait;
        m_comPort = m_link.DiscoverPort(-1);
    }
    if (m_parametersRead == 0) {
        ShowFormMessage(res::kStrNotReadYet, res::kStrError, MB_ICONHAND);
        return;
    }
    bool opened = false;
    int result = kWriteNotOpen;
    {
        CWaitCursor wait;
        opened = m_link.Open(m_comPort);
        if (opened) {
            result = m_link.WriteParameters(m_storedBlock);
        }
    }
    if (!opened || result != kWriteOk)
        ForgetPort(); // a retry must not meet the rest of a read-back
    if (!opened) {
        ShowFormMessage(res::kStrNoConnection, res::kStrError, MB_ICONHAND);
        return;
    }
    if (result != kWriteOk) {
        ShowFormMessage(res::kStrWriteFailed, res::kStrError, MB_ICONHAND);
        return;
    }
    m_link.Close();
    ShowFormMessage(res::kStrWritten, res::kStrNotice, MB_ICONINFORMATION);
    ShowParameters(m_storedBlock);
}

void CRopeLoadDlg::OnReadImage() {
    // The hidden buttons must not share the port with a run.
    if (m_context.runFlag != 0)
        return;
    bool opened = false;
    {
        CWaitCursor wait;
        if (m_comPort == -1)
            m_comPort = m_link.DiscoverPort(-1);
        opened = m_link.Open(m_comPort);
        if (opened) {
            m_link.ReadImage();
            m_link.Close();
        }
    }
    if (!opened) {
        ForgetPort();
        ShowFormMessage(res::kStrNoConnection, res::kStrError, MB_ICONHAND);
    }
}

void CRopeLoadDlg::OnWriteImage() {
    if (m_context.runFlag != 0)
        return;
    bool opened = false;
    bool written = false;
    {
        CWaitCursor wait;
        if (m_comPort == -1)
            m_comPort = m_link.DiscoverPort(-1);
        opened = m_link.Open(m_comPort);
        if (opened)
            written = m_link.WriteImage();
    }
    if (!opened) {
        ForgetPort();
        ShowFormMessage(res::kStrNoConnection, res::kStrError, MB_ICONHAND);
        return;
    }
    MessageBox(this, QString::fromLatin1(written ? "Hurra" : "Mist"),
               QApplication::applicationName(), MB_OK);
    m_link.Close();
}

} // namespace tensiq
