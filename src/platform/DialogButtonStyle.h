#pragma once
// The style of a template's radios and check boxes: the desktop's own style, with the indicator
// size and the gap before the text that the templates were laid out for. Qt's styles give both
// more room, and the template's narrow radios then cut their texts.

#include <QProxyStyle>

namespace tensiq {

class DialogButtonStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kIndicator = 13;
    static constexpr int kTextGap = 3;

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// One for every dialog; it lives as long as the application.
QStyle* SharedDialogButtonStyle();

} // namespace tensiq
