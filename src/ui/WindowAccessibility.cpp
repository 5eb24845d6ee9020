#include "WindowAccessibility.h"

#include "CaptionLabel.h"
#include "LineChartCtrl.h"
#include "ProgressCtrl.h"
#include "RopeBarCtrl.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace tensiq {

namespace {

class AccessibleProgress : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleProgress(CProgressCtrl* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QString::number(Shown());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return Shown(); }
    void setCurrentValue(const QVariant& /*value*/) override {} // read only
    QVariant maximumValue() const override {
        int lower = 0, upper = 0;
        Bar()->GetRange(lower, upper);
        return upper;
    }
    QVariant minimumValue() const override {
        int lower = 0, upper = 0;
        Bar()->GetRange(lower, upper);
        return lower;
    }
    QVariant minimumStepSize() const override { return 1; }

private:
    CProgressCtrl* Bar() const { return static_cast<CProgressCtrl*>(widget()); }
    // A rope bar tells the load it shows, also above its full scale.
    int Shown() const {
        const auto* rope = dynamic_cast<const CRopeBarCtrl*>(Bar());
        return rope != nullptr ? rope->ShownValue() : Bar()->GetPos();
    }
};

class AccessibleCaption : public QAccessibleWidget {
public:
    explicit AccessibleCaption(CCaptionLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<CCaptionLabel*>(widget())->GetCaption();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Factory(const QString& /*className*/, QObject* object) {
    if (auto* bar = qobject_cast<CProgressCtrl*>(object))
        return new AccessibleProgress(bar);
    if (auto* label = qobject_cast<CCaptionLabel*>(object))
        return new AccessibleCaption(label);
    if (auto* chart = qobject_cast<CLineChartCtrl*>(object))
        return new QAccessibleWidget(chart, QAccessible::Chart);
    return nullptr;
}

} // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

} // namespace tensiq
