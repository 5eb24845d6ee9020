// Every text a control of the two windows shows fits the rectangle its template gives it: the
// text measured with the control's own font, beside the indicator and gap the style puts before
// a radio's or a check box's text, and inside a button's margins. Run in each language.

#include "AboutBox.h"
#include "CaptionLabel.h"
#include "DeviceLink.h"
#include "IconButton.h"
#include "LocalisedString.h"
#include "ParameterBlock.h"
#include "ResourceIds.h"
#include "RopeLoadDlgProbe.h"
#include "UiTestSupport.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace tensiq;
using test::Localised;

namespace {

// Wider than any rectangle, for measuring wrapped text.
constexpr int kUnbounded = 100000;

// Pixels a line of text covers from its origin: its advance, or its ink where that reaches on.
int LineWidth(const QFontMetrics& fm, const QString& text) {
    return std::max(fm.horizontalAdvance(text), fm.boundingRect(text).right() + 1);
}

// The block that word-wrapped text takes in width columns; the last line's leading is left
// out, as nothing is drawn there.
QRect Wrapped(const QFontMetrics& fm, int width, int flags, const QString& text) {
    QRect block = fm.boundingRect(QRect(0, 0, width, kUnbounded), flags | Qt::TextWordWrap, text);
    block.setHeight(block.height() - std::max(fm.leading(), 0));
    return block;
}

class Measure {
public:
    // Adds a line for each way text overflows the control.
    void Check(QWidget& w, const QString& text, const std::string& who) {
        if (text.isEmpty())
            return;
        const std::string what = who + " \"" + text.toStdString() + "\" ";
        const QFontMetrics fm(w.font());
        QStyle* style = w.style();
        if (qobject_cast<QRadioButton*>(&w) != nullptr || qobject_cast<QCheckBox*>(&w) != nullptr) {
            const bool radio = qobject_cast<QRadioButton*>(&w) != nullptr;
            QStyleOptionButton opt;
            opt.initFrom(&w);
            opt.text = text;
            const QRect indicator = style->subElementRect(
                radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, &w);
            const QRect contents = style->subElementRect(
                radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, &w);
            Expect(contents.left() + LineWidth(fm, text), w.width(), what + "width");
            Expect(fm.height(), w.height(), what + "height");
            Expect(indicator.height(), w.height(), what + "indicator height");
            Expect(indicator.right() + 1, contents.left(), what + "indicator before the text");
        } else if (auto* icon = qobject_cast<CIconButton*>(&w)) {
            // The icon and its margin come first; the caption is centred in what is left.
            QRect caption = w.rect();
            if (!icon->IconIn().isNull())
                caption.setLeft(caption.left() + icon->IconIn().width() +
                                CIconButton::kImageMargin);
            const QRect block = Wrapped(fm, caption.width(), Qt::AlignHCenter, text);
            Expect(block.width(), caption.width(), what + "width");
            Expect(block.height(), caption.height(), what + "height");
        } else if (qobject_cast<QPushButton*>(&w) != nullptr) {
            QStyleOptionButton opt;
            opt.initFrom(&w);
            opt.text = text;
            const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &opt, &w);
            Expect(LineWidth(fm, text), contents.width(), what + "width");
            Expect(fm.height(), contents.height(), what + "height");
        } else if (auto* box = qobject_cast<QGroupBox*>(&w)) {
            QStyleOptionGroupBox opt;
            opt.initFrom(box);
            opt.text = text;
            opt.textAlignment = box->alignment();
            opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            opt.lineWidth = 1;
            const QRect label =
                style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
            Expect(label.left() + LineWidth(fm, text), box->width(), what + "width");
        } else if (auto* caption = qobject_cast<CCaptionLabel*>(&w)) {
            const QFontMetrics own(caption->GetLabelFont());
            const QRect room = caption->contentsRect();
            const QRect block = Wrapped(own, room.width(), Qt::AlignLeft, text);
            Expect(block.width(), room.width(), what + "width");
            Expect(block.height(), room.height(), what + "height");
        } else if (auto* label = qobject_cast<QLabel*>(&w)) {
            const QRect room = label->contentsRect();
            const int flags = static_cast<int>(label->alignment());
            const QRect block = label->wordWrap() ? Wrapped(fm, room.width(), flags, text)
                                                  : QRect(0, 0, LineWidth(fm, text), fm.height());
            Expect(block.width(), room.width(), what + "width");
            Expect(block.height(), room.height(), what + "height");
        }
    }

    // Every control of a window that shows its text, as it is now.
    void CheckAll(const CDialog& dlg, const std::string& window) {
        for (const auto& c : dlg.Controls()) {
            QWidget* w = c.widget.data();
            if (w == nullptr)
                continue;
            ++controls;
            const std::string who =
                window + " " +
                (c.entry->id == res::kNoId ? std::string("static") : std::to_string(c.entry->id));
            Check(*w, TextOf(*w), who);
        }
    }

    std::vector<std::string> misfits;
    int controls = 0;

private:
    static QString TextOf(QWidget& w) {
        if (auto* caption = qobject_cast<CCaptionLabel*>(&w))
            return caption->GetCaption();
        if (auto* button = qobject_cast<QAbstractButton*>(&w))
            return button->text();
        if (auto* label = qobject_cast<QLabel*>(&w))
            return label->text();
        if (auto* box = qobject_cast<QGroupBox*>(&w))
            return box->title();
        // Edits hold numbers, not template texts; bars and the chart draw no window text.
        return {};
    }

    void Expect(int needed, int room, const std::string& what) {
        if (needed > room)
            misfits.push_back(what + std::to_string(needed) + " > " + std::to_string(room));
    }
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines)
        all += "\n  " + line;
    return all;
}

} // namespace

TEST(WindowTexts, EveryMainWindowTextFitsItsControlInEveryState) {
    test::RopeLoadDlgProbe dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.show();
    test::Pump(5);
    Measure measure;
    measure.CheckAll(dlg, "opened");
    // Each weight unit on the unit labels.
    for (int unit = 0; unit < 4; ++unit) {
        dlg.SetWeightUnit(unit);
        measure.CheckAll(dlg, "unit " + std::to_string(unit));
    }
    // The captions of a run and of the assistant.
    measure.Check(dlg.m_startStopButton, Localised(res::kStrStop), "1040");
    measure.Check(dlg.m_assistantButton, Localised(res::kStrAssistantEnd), "1041");
    // The captions a rope-difference device gives the form, and those of the others.
    for (const int variant : {1, 0}) {
        g_ropeDifferenceVariant = variant;
        dlg.ShowParameters(ParameterBlock{});
        measure.CheckAll(dlg, "variant " + std::to_string(variant));
    }
    EXPECT_GE(measure.controls, 84 * 7);
    EXPECT_TRUE(measure.misfits.empty()) << Joined(measure.misfits);
}

TEST(WindowTexts, EveryAboutBoxTextFitsItsControl) {
    CAboutBox about;
    ASSERT_TRUE(about.Create());
    about.show();
    test::Pump(5);
    Measure measure;
    measure.CheckAll(about, "about");
    EXPECT_EQ(measure.controls, 4);
    EXPECT_TRUE(measure.misfits.empty()) << Joined(measure.misfits);
}
