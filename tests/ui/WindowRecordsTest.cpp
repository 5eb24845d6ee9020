// Saved runs from the main window: the context menu's entry, the files it opens (a missing one
// told and its window gone, the others open side by side) and the window's unit in them.

#include "CurrentResourceModule.h"
#include "LocalisedString.h"
#include "RecordChart.h"
#include "RecordViewer.h"
#include "ResourceIds.h"
#include "RopeLoadDlg.h"
#include "UiTestSupport.h"
#include "UserDialogs.h"
#include "WeightUnit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace tensiq;

TEST(WindowRecords, TheContextMenuOpensRecordsAndAMissingOneIsToldWithoutHarm) {
    auto dlg = std::make_unique<CRopeLoadDlg>();
    ASSERT_TRUE(dlg->Create());
    dlg->show();
    test::Pump(10);

    const std::string folder = std::filesystem::temp_directory_path() / "tensiq-records-XXXXXX";
    std::string pattern = folder;
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string good = pattern + "/good.txt";
    std::ofstream(good) << "07.12.2026 22:01:12\n"
                        << "100;200;0;0;0;0;0;0;0;0;0;0;\n";

    // The entry is in the menu, in the window's language.
    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                entries << a->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dlg.get(), &event);
    EXPECT_TRUE(entries.contains(QString::fromStdString(
        LoadLocalisedString(res::kStrOpenRecordMenu, CurrentResourceModule()))))
        << entries.join(QLatin1Char('|')).toStdString();

    QStringList told;
    ScopedMessageBoxHandler boxes([&](const MessageBoxRequest& r) {
        told << r.text;
        return IDOK;
    });
    ScopedOpenFileHandler choose([&](const OpenFileRequest&) {
        return QStringList{QString::fromStdString(good),
                           QString::fromStdString(pattern + "/missing.txt"),
                           QString::fromStdString(good)};
    });
    dlg->OnOpenRecord();
    ASSERT_TRUE(test::PumpUntil([&] {
        int loading = 0;
        for (CRecordViewer* v : dlg->Viewers())
            loading += v->Loading() ? 1 : 0;
        return loading == 0 && dlg->Viewers().size() == 2;
    }));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("missing.txt")));
    for (CRecordViewer* v : dlg->Viewers()) {
        EXPECT_FALSE(v->isModal());
        EXPECT_TRUE(v->isVisible());
        EXPECT_EQ(v->Table()->item(1, 1)->text(), QStringLiteral("200"));
    }

    // Pounds in the main window are pounds in its viewers.
    dlg->SetWeightUnit(Pound);
    for (CRecordViewer* v : dlg->Viewers())
        EXPECT_EQ(v->Table()->item(1, 1)->text().left(6), QStringLiteral("440.96"));
    dlg.reset();
    std::filesystem::remove_all(pattern);
}
