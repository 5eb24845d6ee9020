#include "DialogButtonStyle.h"

#include <QCoreApplication>
#include <QPointer>

namespace tensiq {

int DialogButtonStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                   const QWidget* widget) const {
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return kIndicator;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
        return kTextGap;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QStyle* SharedDialogButtonStyle() {
    static QPointer<DialogButtonStyle> style;
    if (style.isNull()) {
        style = new DialogButtonStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style.data();
}

} // namespace tensiq
