// The main window's layout in dialog units: what the window code relies on.

#include "DialogTemplate.h"
#include "GermanResources.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace tensiq;
using namespace tensiq::res;

namespace {

const DialogTemplate& Main() {
    return *FindDialog(GermanResources(), kMainDialog);
}

bool Overlap(const DialogControl& a, const DialogControl& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

bool Contains(const DialogControl& outer, const DialogControl& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + inner.cy <= outer.y + outer.cy;
}

bool IsBarOrRopeName(const DialogControl& c) {
    return c.kind == ControlKind::ProgressBar || (c.id == kNoId && c.y == 298);
}

bool IsUnitRadio(const DialogControl& c) {
    return c.id == 1051 || c.id == 1052 || c.id == 1053 || c.id == 1060;
}

// The only overlaps the layout means: a group box around its members, the hidden chart in the
// place of the bars and their rope names, and the unit radios, 10 units high on a 9-unit pitch.
bool MeantToOverlap(const DialogControl& a, const DialogControl& b) {
    if (IsUnitRadio(a) && IsUnitRadio(b) && a.x == b.x && std::abs(a.y - b.y) == 9)
        return true;
    if (a.kind == ControlKind::GroupBox && Contains(a, b))
        return true;
    if (b.kind == ControlKind::GroupBox && Contains(b, a))
        return true;
    if (a.id == 1045 && IsBarOrRopeName(b))
        return true;
    return b.id == 1045 && IsBarOrRopeName(a);
}

std::string Name(const DialogControl& c) {
    return c.id == kNoId ? std::string("\"") + c.text + "\"" : std::to_string(c.id);
}

} // namespace

TEST(MainDialogLayout, EveryControlLiesInsideTheDialog) {
    const DialogTemplate& d = Main();
    for (std::size_t i = 0; i < d.controlCount; ++i) {
        const DialogControl& c = d.controls[i];
        EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.cx > 0 && c.cy > 0 && c.x + c.cx <= d.cx &&
                    c.y + c.cy <= d.cy)
            << Name(c);
    }
}

TEST(MainDialogLayout, ControlsOverlapOnlyWhereTheLayoutMeansIt) {
    const DialogTemplate& d = Main();
    int chartOverlaps = 0;
    int unitOverlaps = 0;
    for (std::size_t i = 0; i < d.controlCount; ++i)
        for (std::size_t j = i + 1; j < d.controlCount; ++j) {
            const DialogControl& a = d.controls[i];
            const DialogControl& b = d.controls[j];
            if (!Overlap(a, b))
                continue;
            EXPECT_TRUE(MeantToOverlap(a, b)) << Name(a) << " overlaps " << Name(b);
            chartOverlaps += a.id == 1045 || b.id == 1045;
            unitOverlaps += IsUnitRadio(a) && IsUnitRadio(b);
        }
    // The chart covers all twelve bars and all twelve names.
    EXPECT_EQ(chartOverlaps, 24);
    EXPECT_EQ(unitOverlaps, 3);
}

TEST(MainDialogLayout, ControlIdsAreUnique) {
    std::set<int> ids;
    const DialogTemplate& d = Main();
    for (std::size_t i = 0; i < d.controlCount; ++i)
        if (d.controls[i].id != kNoId) {
            EXPECT_TRUE(ids.insert(d.controls[i].id).second) << d.controls[i].id;
        }
}

TEST(MainDialogLayout, RadioGroupsFollowTheGroupStarts) {
    // A group runs from one group start to the next, as the dialog manager walks it.
    std::vector<std::vector<int>> groups;
    const DialogTemplate& d = Main();
    std::vector<int> current;
    for (std::size_t i = 0; i < d.controlCount; ++i) {
        const DialogControl& c = d.controls[i];
        if (c.Has(kGroup)) {
            if (!current.empty())
                groups.push_back(current);
            current.clear();
        }
        if (c.kind == ControlKind::AutoRadio)
            current.push_back(c.id);
    }
    if (!current.empty())
        groups.push_back(current);
    const std::vector<std::vector<int>> expected = {
        {1019, 1020},
        {1021, 1022},
        {1023, 1024},
        {1025, 1026},
        {1051, 1052, 1053, 1060},
        {1063, 1064, 1065, 1066},
    };
    EXPECT_EQ(groups, expected);
}

TEST(MainDialogLayout, StartStopIsTheOnlyDefaultButton) {
    const DialogTemplate& d = Main();
    std::vector<int> defaults;
    for (std::size_t i = 0; i < d.controlCount; ++i)
        if (d.controls[i].Has(kDefault))
            defaults.push_back(d.controls[i].id);
    EXPECT_EQ(defaults, std::vector<int>{1040});
}

TEST(MainDialogLayout, StartsWithChartAndImageButtonsHiddenAndNextRopeDisabled) {
    const DialogTemplate& d = Main();
    std::set<int> hidden;
    std::set<int> disabled;
    for (std::size_t i = 0; i < d.controlCount; ++i) {
        if (d.controls[i].Has(kHidden))
            hidden.insert(d.controls[i].id);
        if (d.controls[i].Has(kDisabled))
            disabled.insert(d.controls[i].id);
    }
    EXPECT_EQ(hidden, (std::set<int>{1045, 1048, 1049}));
    EXPECT_EQ(disabled, std::set<int>{1044});
}

TEST(AboutBoxLayout, ShowsAnIconTheModuleCarries) {
    const DialogTemplate* about = FindDialog(GermanResources(), kAboutBoxDialog);
    ASSERT_NE(about, nullptr);
    int icons = 0;
    for (std::size_t i = 0; i < about->controlCount; ++i) {
        const DialogControl& c = about->controls[i];
        EXPECT_LE(c.x + c.cx, about->cx);
        EXPECT_LE(c.y + c.cy, about->cy);
        if (c.kind == ControlKind::StaticIcon) {
            ++icons;
            EXPECT_NE(FindIcon(GermanResources(), c.iconId), nullptr);
        }
    }
    EXPECT_EQ(icons, 1);
    const DialogControl* ok = FindControl(*about, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->Has(kDefault));
}
