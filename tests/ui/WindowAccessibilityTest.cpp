// What a screen reader, or a test tool on the same interface, finds in the window: every
// control by its name, the bars as progress bars with their value.

#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "ResourceIds.h"
#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QButtonGroup>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace tensiq;
using test::Localised;

namespace {

struct Found {
    QAccessible::Role role;
    QString name;
    QObject* object;
};

void Collect(QAccessibleInterface* node, std::vector<Found>& out) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr)
            continue;
        out.push_back({child->role(), child->text(QAccessible::Name), child->object()});
        Collect(child, out);
    }
}

class WindowAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        dlg = std::make_unique<test::RopeLoadDlgProbe>();
        ASSERT_TRUE(dlg->Create());
        dlg->show();
        test::Pump(5);
    }
    std::vector<Found> All() const {
        std::vector<Found> found;
        Collect(QAccessible::queryAccessibleInterface(dlg.get()), found);
        return found;
    }
    // The one control of that role and name; null when none or several.
    QObject* Find(QAccessible::Role role, const QString& name) const {
        QObject* hit = nullptr;
        for (const Found& f : All()) {
            if (f.role == role && f.name == name) {
                if (hit != nullptr)
                    return nullptr;
                hit = f.object;
            }
        }
        return hit;
    }
    std::unique_ptr<test::RopeLoadDlgProbe> dlg;
};

} // namespace

TEST_F(WindowAccessibility, ButtonsByTextAndTheIconOnlyOnesByTheirToolTip) {
    for (CIconButton* b : {&dlg->m_nextRopeButton, &dlg->m_startStopButton, &dlg->m_quitButton,
                           &dlg->m_assistantButton, &dlg->m_writeButton, &dlg->m_readButton}) {
        ASSERT_FALSE(b->text().isEmpty());
        EXPECT_EQ(Find(QAccessible::Button, b->text().simplified()), b) << b->text().toStdString();
    }
    EXPECT_EQ(Find(QAccessible::Button, Localised(res::kStrTipSave)), &dlg->m_saveButton);
    EXPECT_EQ(Find(QAccessible::Button, Localised(res::kStrTipSwitchView)),
              &dlg->m_switchViewButton);
}

TEST_F(WindowAccessibility, EditsByTheirLabel) {
    const std::pair<int, int> edits[] = {{1005, 1006}, {1008, 1007}, {1010, 1009},
                                         {1012, 1011}, {1003, 1004}, {1014, 1013},
                                         {1016, 1015}, {1018, 1017}, {1043, 1042}};
    for (const auto& [edit, label] : edits) {
        const QString name = qobject_cast<QLabel*>(dlg->GetDlgItem(label))->text();
        EXPECT_EQ(Find(QAccessible::EditableText, name), dlg->GetDlgItem(edit)) << edit;
    }
    // A caption the form changes renames its edit.
    qobject_cast<QLabel*>(dlg->GetDlgItem(1013))->setText(QStringLiteral("Seildifferenz"));
    EXPECT_EQ(Find(QAccessible::EditableText, QStringLiteral("Seildifferenz")),
              dlg->GetDlgItem(1014));
    EXPECT_NE(Find(QAccessible::EditableText, QString::fromUtf8(dlg->TemplateControl(1061)->text)),
              nullptr);
}

TEST_F(WindowAccessibility, BarsAreProgressBarsNamedByTheirRopeWithTheirValue) {
    for (int k = 0; k < kRopes; ++k) {
        dlg->m_bars[k].SetPos(100 + k);
        // The rope names of the template, in the window's language.
        QString name;
        for (const auto& c : dlg->Controls())
            if (c.entry->id == res::kNoId && c.entry->x == 10 + 41 * k && c.entry->y == 298)
                name = QString::fromUtf8(c.entry->text);
        ASSERT_FALSE(name.isEmpty());
        QObject* bar = Find(QAccessible::ProgressBar, name);
        ASSERT_EQ(bar, &dlg->m_bars[k]) << name.toStdString();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
        ASSERT_NE(iface->valueInterface(), nullptr);
        EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 100 + k);
        EXPECT_EQ(iface->valueInterface()->maximumValue().toInt(), 1000);
        EXPECT_EQ(iface->text(QAccessible::Value), QString::number(100 + k));
    }
    // Above the full scale the bar is full, but a screen reader hears the load.
    dlg->m_bars[0].SetPos(1234);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&dlg->m_bars[0]);
    EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 1234);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("1234"));
}

TEST_F(WindowAccessibility, TotalByItsTextAndTheChartByItsName) {
    EXPECT_EQ(Find(QAccessible::StaticText, dlg->m_totalLabel.GetCaption()), &dlg->m_totalLabel);
    dlg->m_totalLabel.SetCaption(QStringLiteral("Gesamt: 4321 kg"), TRUE);
    EXPECT_EQ(Find(QAccessible::StaticText, QStringLiteral("Gesamt: 4321 kg")), &dlg->m_totalLabel);
    ASSERT_FALSE(Localised(res::kStrChartName).isEmpty());
    EXPECT_EQ(dlg->m_chart.accessibleName(), Localised(res::kStrChartName));
    EXPECT_EQ(Find(QAccessible::Chart, dlg->m_chart.accessibleName()), &dlg->m_chart);
}

TEST_F(WindowAccessibility, EveryTemplateRadioIsARadioAndEveryCheckBoxACheckBox) {
    int radios = 0;
    int checkBoxes = 0;
    for (const auto& c : dlg->Controls()) {
        const bool radio = c.entry->kind == res::ControlKind::AutoRadio;
        if (!radio && c.entry->kind != res::ControlKind::AutoCheckBox)
            continue;
        (radio ? radios : checkBoxes) += 1;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c.widget.data());
        ASSERT_NE(iface, nullptr) << c.entry->id;
        EXPECT_EQ(iface->role(), radio ? QAccessible::RadioButton : QAccessible::CheckBox)
            << c.entry->id;
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(c.entry->text)) << c.entry->id;
        EXPECT_TRUE(iface->state().checkable) << c.entry->id;
    }
    EXPECT_EQ(radios, 16) << "four relay pairs, four units, four sensor types";
    EXPECT_EQ(checkBoxes, 2);
}

TEST_F(WindowAccessibility, RadiosCheckEachOtherOutOnlyWithinTheirGroup) {
    std::vector<QAbstractButton*> radios;
    for (const auto& c : dlg->Controls())
        if (c.entry->kind == res::ControlKind::AutoRadio)
            radios.push_back(qobject_cast<QAbstractButton*>(c.widget.data()));
    for (QAbstractButton* pressed : radios) {
        ASSERT_NE(pressed, nullptr);
        std::vector<bool> before;
        for (QAbstractButton* r : radios)
            before.push_back(r->isChecked());
        const QButtonGroup* group = pressed->group();
        ASSERT_NE(group, nullptr);
        ASSERT_TRUE(group->exclusive());
        // Clicked twice: a radio is never cleared by clicking it.
        pressed->click();
        pressed->click();
        for (std::size_t i = 0; i < radios.size(); ++i) {
            const bool expected = radios[i] == pressed          ? true
                                  : radios[i]->group() == group ? false
                                                                : before[i];
            EXPECT_EQ(radios[i]->isChecked(), expected)
                << radios[i]->objectName().toStdString() << " after "
                << pressed->objectName().toStdString();
        }
    }
}
