#include "app/PageFactory.h"

#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "pages/SettingsPage.h"
#include "pages/lighting/CColorSettingsDlg.h"
#include "pages/macro/CMacroSettingsDlg.h"
#include "pages/mouse/CMouseSettingsDlg.h"
#include "pages/sensor/CSensorDlg.h"
#include "pages/support/CSupportDlg.h"
#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"

namespace orvane {
namespace {

class PageFactory : public testing::Test {
  protected:
    void SetUp() override { loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER)); }
};

template <typename Page>
bool isA(QWidget* widget) {
    return dynamic_cast<Page*>(widget) != nullptr;
}

TEST_F(PageFactory, EachKindIsItsOwnPageOnItsOwnBackground) {
    QWidget area;
    PageServices services;
    const struct {
        PageKind kind;
        bool (*matches)(QWidget*);
    } kinds[] = {{PageKind::MouseSettings, isA<CMouseSettingsDlg>},
                 {PageKind::SensorPerformance, isA<CSensorDlg>},
                 {PageKind::ColorSettings, isA<CColorSettingsDlg>},
                 {PageKind::MacroSettings, isA<CMacroSettingsDlg>},
                 {PageKind::Support, isA<CSupportDlg>}};
    for (const auto& expected : kinds) {
        QWidget* created = createSettingsPage(expected.kind, services, &area);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(created->parent(), &area);
        EXPECT_TRUE(expected.matches(created)) << static_cast<int>(expected.kind);
        auto* page = dynamic_cast<SettingsPage*>(created);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->kind(), expected.kind);
        const QImage sheet =
            skinPart(pageBackgroundPart(expected.kind), layout::kStateNormal, QRect()).toImage();
        EXPECT_EQ(page->background(), sheet) << static_cast<int>(expected.kind);
    }
    // The five backgrounds are five different sheets.
    EXPECT_NE(pageBackgroundPart(PageKind::MouseSettings),
              pageBackgroundPart(PageKind::SensorPerformance));
    EXPECT_NE(pageBackgroundPart(PageKind::ColorSettings), pageBackgroundPart(PageKind::Support));
}

}  // namespace
}  // namespace orvane
