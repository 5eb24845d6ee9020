#include "ResourceText.h"

#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "ResourceIds.h"

namespace tensiq {

QString ResourceText(unsigned id) {
    return QString::fromStdString(LoadLocalisedString(id, CurrentResourceModule()));
}

QString NoConnectionText() {
    QString text = ResourceText(res::kStrNoConnection);
    const QString hint = ResourceText(res::kStrNoConnectionHint);
    // A library without the hint gives its message alone.
    if (!hint.isEmpty() && hint != text)
        text += QStringLiteral("\n\n") + hint;
    return text;
}

} // namespace tensiq
