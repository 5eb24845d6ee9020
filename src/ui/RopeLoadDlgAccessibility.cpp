// Names for assistive technology: buttons by their text, the icon-only ones by their tool tip,
// edits by their label, bars by the rope name under them, the chart by a name of its own.

#include "RopeLoadDlg.h"

#include "ResourceIds.h"
#include "ResourceText.h"
#include "WindowAccessibility.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace tensiq {

namespace {

// Each edit and the control that names it.
constexpr std::pair<int, int> kEditLabels[] = {
    {1005, 1006}, {1008, 1007}, {1010, 1009}, {1012, 1011}, {1003, 1004},
    {1014, 1013}, {1016, 1015}, {1018, 1017}, {1043, 1042}, {1067, 1061},
};

} // namespace

void CRopeLoadDlg::NameControlsForAssistiveTechnology() {
    InstallAccessibleInterfaces();
    m_saveButton.setAccessibleName(ResourceText(res::kStrTipSave));
    m_switchViewButton.setAccessibleName(ResourceText(res::kStrTipSwitchView));
    // A caption broken over two lines is read as one.
    for (QWidget* w : {static_cast<QWidget*>(&m_readButton), static_cast<QWidget*>(&m_writeButton),
                       static_cast<QWidget*>(&m_nextRopeButton)}) {
        auto* button = static_cast<QAbstractButton*>(w);
        if (button->text().contains(QLatin1Char('\n')))
            button->setAccessibleName(button->text().simplified());
    }

    // A label names its edit through the buddy link, so a changed caption renames it too.
    for (const auto& [editId, labelId] : kEditLabels) {
        QWidget* edit = GetDlgItem(editId);
        QWidget* label = GetDlgItem(labelId);
        if (edit == nullptr || label == nullptr)
            continue;
        if (auto* text = qobject_cast<QLabel*>(label))
            text->setBuddy(edit);
        else if (auto* check = qobject_cast<QCheckBox*>(label))
            edit->setAccessibleName(check->text());
    }

    // The rope names stand under their bars, at the same left edge.
    for (int k = 0; k < kRopes; ++k) {
        const res::DialogControl* bar = TemplateControl(ctl::kFirstBar + k);
        if (bar == nullptr)
            continue;
        for (const Control& c : Controls()) {
            if (c.entry->id == res::kNoId && c.entry->kind == res::ControlKind::Static &&
                c.entry->x == bar->x && c.entry->y > bar->y) {
                m_bars[k].setAccessibleName(QString::fromUtf8(c.entry->text));
                break;
            }
        }
    }
    m_chart.setAccessibleName(ResourceText(res::kStrChartName));
}

} // namespace tensiq
