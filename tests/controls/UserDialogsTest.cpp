// The real message box and save dialog behind the seam, answered as a user would: the modal
// widget is found once it is up and its buttons are pressed.
#include "UserDialogs.h"
#include "LanguageChoice.h"
#include "SystemTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace tensiq;

namespace {

// Runs act on the modal widget of type W once it is shown; counts the times it ran.
template <typename W> class WhenShown {
public:
    explicit WhenShown(std::function<void(W*)> act) : m_act(std::move(act)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
                if (w->isVisible()) {
                    ++seen;
                    m_act(w);
                }
            }
        });
        m_timer.start(5);
    }
    int seen = 0;

private:
    std::function<void(W*)> m_act;
    QTimer m_timer;
};

struct BoxSeen {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

TEST(RealMessageBox, ShowsTextIconAndButtonsAndReturnsThePressedOne) {
    struct Case {
        UINT type;
        QMessageBox::StandardButton press;
        int expected;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONHAND, QMessageBox::Ok, IDOK, QMessageBox::Critical, QMessageBox::Ok},
        {MB_OKCANCEL | MB_ICONEXCLAMATION, QMessageBox::Cancel, IDCANCEL, QMessageBox::Warning,
         QMessageBox::Ok | QMessageBox::Cancel},
        {MB_YESNO | MB_ICONQUESTION, QMessageBox::No, IDNO, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, QMessageBox::Yes, IDYES, QMessageBox::Information,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        BoxSeen seen;
        WhenShown<QMessageBox> answer([&](QMessageBox* box) {
            seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
            box->button(c.press)->click();
        });
        const int result =
            MessageBox(nullptr, QStringLiteral("Text %1"), QStringLiteral("Titel"), c.type);
        EXPECT_EQ(answer.seen, 1);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(seen.text, QStringLiteral("Text %1"));
        EXPECT_EQ(seen.title, QStringLiteral("Titel"));
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
    }
}

TEST(RealMessageBox, EscapeCancelsAndAnEmptyCaptionIsTheProgramsName) {
    QApplication::setApplicationName(QStringLiteral("Tensiq"));
    QString title;
    WhenShown<QMessageBox> answer([&](QMessageBox* box) {
        title = box->windowTitle();
        box->reject(); // Escape
    });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("?"), QString(), MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(title, QStringLiteral("Tensiq"));
}

class RealSaveDialog : public testing::Test {
protected:
    QTemporaryDir dir;
    SaveFileRequest Request() const {
        SaveFileRequest r;
        r.title = QStringLiteral("Speichern unter");
        r.filter = QStringLiteral("Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*||");
        r.defaultExtension = QStringLiteral("txt");
        r.fileName = dir.filePath(QStringLiteral("messung"));
        r.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        r.replaceQuestion = QStringLiteral("%1 ersetzen?");
        return r;
    }
};

TEST_F(RealSaveDialog, OffersTheFiltersAndTitleAndAddsTheExtension) {
    QStringList filters;
    QString title;
    bool saving = false;
    WhenShown<QFileDialog> answer([&](QFileDialog* d) {
        filters = d->nameFilters();
        title = d->windowTitle();
        saving = d->acceptMode() == QFileDialog::AcceptSave;
        static_cast<QDialog*>(d)->accept();
    });
    const QString chosen = GetSaveFileName(Request());
    EXPECT_EQ(answer.seen, 1);
    EXPECT_EQ(title, QStringLiteral("Speichern unter"));
    EXPECT_TRUE(saving);
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Textdateien (*.txt)"),
                                    QStringLiteral("Alle Dateien (*.*)")}));
    EXPECT_EQ(chosen, dir.filePath(QStringLiteral("messung.txt")));
}

TEST_F(RealSaveDialog, CancelGivesNothing) {
    WhenShown<QFileDialog> answer([](QFileDialog* d) { d->reject(); });
    EXPECT_TRUE(GetSaveFileName(Request()).isEmpty());
    EXPECT_EQ(answer.seen, 1);
}

// An existing file is asked about in the program's own words; No brings the dialog back.
TEST_F(RealSaveDialog, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    const QString existing = dir.filePath(QStringLiteral("messung.txt"));
    std::ofstream(existing.toStdString()) << "alt\n";
    QStringList questions;
    WhenShown<QMessageBox> replace([&](QMessageBox* box) {
        questions << box->text();
        box->button(questions.size() == 1 ? QMessageBox::No : QMessageBox::Yes)->click();
    });
    WhenShown<QFileDialog> answer([](QFileDialog* d) { static_cast<QDialog*>(d)->accept(); });
    EXPECT_EQ(GetSaveFileName(Request()), existing);
    EXPECT_EQ(answer.seen, 2);
    EXPECT_EQ(questions, QStringList(2, existing + QStringLiteral(" ersetzen?")));
}

} // namespace

// The buttons Qt draws itself speak the window's language, as a localised system's would.
TEST(SystemTexts, MessageBoxAndDialogButtonsInTheWindowsLanguage) {
    struct Case {
        int language;
        const char* cancel;
        const char* yes;
    };
    for (const Case& c :
         {Case{kLanguageGerman, "Abbrechen", "&Ja"}, Case{kLanguageChinese, "取消", "是(&Y)"},
          Case{kLanguageEnglish, "Cancel", "&Yes"}}) {
        std::string why;
        ASSERT_TRUE(InstallSystemTexts(c.language, &why)) << why;
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), c.cancel);
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text().toStdString(), c.yes);
    }
}
