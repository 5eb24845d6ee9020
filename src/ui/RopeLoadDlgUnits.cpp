// The weight unit: the four unit radios, the switch itself, and the stored unit applied shortly
// after the window opens.

#include "RopeLoadDlg.h"

#include "FormMapping.h"
#include "Profile.h"
#include "WeightUnit.h"

#include <QAbstractButton>
#include <QLabel>

namespace tensiq {

namespace {

constexpr UINT kUnitTimerMs = 100;
constexpr const char* kSettings = "Settings";
constexpr const char* kUnitEntry = "Unit";

// The unit radios, by the unit they choose.
constexpr int kUnitRadios[] = {1051, 1052, 1053, 1060};
// The unit labels in the order they are set.
constexpr int kUnitLabels[] = {1054, 1055, 1056, 1057, 1058, 1059, 1050};

} // namespace

void CRopeLoadDlg::ConnectUnitCommands() {
    for (int unit = Kilogram; unit <= Pound; ++unit)
        if (auto* radio = qobject_cast<QAbstractButton*>(GetDlgItem(kUnitRadios[unit])))
            connect(radio, &QAbstractButton::clicked, this, [this, unit] { SetWeightUnit(unit); });
    SetTimerHandler(kUnitTimer, [this] { OnUnitTimer(); });
    SetTimer(kUnitTimer, kUnitTimerMs);
}

void CRopeLoadDlg::OnUnitTimer() {
    // Killed first: a message of the switch runs a nested loop in which the timer would fire again.
    KillTimer(kUnitTimer);
    const int stored = m_profile != nullptr ? m_profile->GetInt(kSettings, kUnitEntry, 0) : 0;
    SetWeightUnit(stored);
}

void CRopeLoadDlg::SetWeightUnit(int unit) {
    const int old = m_form.unit;
    if (unit == old)
        return;
    const char* text = UnitText(unit);
    for (int id : kUnitLabels)
        if (auto* label = qobject_cast<QLabel*>(GetDlgItem(id)))
            label->setText(QString::fromLatin1(text));

    // A field that fails shows its message; the switch goes on with the members as they stand.
    UpdateData(TRUE);
    ConvertWeights(m_form, old, unit);

    // Factor and text change together for the acquisition thread.
    m_context.SetUnit(DisplayFactor(unit), text);
    // During a run the bars and the chart take the scale a start in this unit would set: the
    // unit alone leaves out the device's factor, and every rope above 1000 kg drew full.
    if (RunOn()) {
        SetRunScale();
    } else {
        const int upper = BarUpperBound(unit);
        for (CRopeBarCtrl& bar : m_bars)
            bar.SetRange(0, upper);
    }

    m_form.unit = unit;
    UpdateViewerUnits();
    UpdateData(FALSE);
    if (m_profile != nullptr)
        m_profile->WriteInt(kSettings, kUnitEntry, unit);
}

} // namespace tensiq
