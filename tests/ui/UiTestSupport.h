#pragma once
// Shared by the window's tests, its gallery and its benchmark: the language of the run, chosen
// from TENSIQ_TEST_LANGUAGE (de, en, chn), and a window opened offscreen.

#include <QImage>
#include <QString>

class QWidget;

namespace tensiq::test {

// Before the QApplication: the offscreen platform unless one is chosen.
void PrepareUiEnvironment();
// Chooses the language named by TENSIQ_TEST_LANGUAGE from the built libraries and makes its
// module current; returns its short name.
QString ChooseTestLanguage();

// Runs the GUI's events until cond holds, at most timeoutMs.
template <typename Cond> bool PumpUntil(Cond cond, int timeoutMs = 3000);

// The text of string id in the current language.
QString Localised(unsigned id);

// Lets posted events and timers run for about ms milliseconds.
void Pump(int ms);
// What the widget and its children show now.
QImage Grab(QWidget& widget);

template <typename Cond> bool PumpUntil(Cond cond, int timeoutMs) {
    for (int waited = 0; !cond(); waited += 5) {
        if (waited > timeoutMs)
            return false;
        Pump(5);
    }
    return true;
}

} // namespace tensiq::test
