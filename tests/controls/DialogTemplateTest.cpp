// Building windows from control tables in dialog units.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "controls/DialogTemplate.h"

namespace sonoria {
namespace {

TEST(DialogUnits, ConvertWithTheTemplateFontsBaseUnits) {
    // 9-point font: 7 x 15 pixels per base unit; a unit is base / 4 across, base / 8 down.
    EXPECT_EQ(DialogUnitsToPixels(kMainWindowFont, 0, 0, 506, 323), QRect(0, 0, 886, 606));
    EXPECT_EQ(DialogUnitsToPixels(kMainWindowFont, 66, 11, 99, 11), QRect(116, 21, 173, 21));
    // 8-point templates: 6 x 13.
    EXPECT_EQ(DialogUnitsToPixels(kDialogFont8, 2, 3, 50, 14), QRect(3, 5, 75, 23));
}

TEST(BuildDialog, MakesEveryControlWithItsIdPlaceAndState) {
    const ControlSpec controls[] = {
        {1027, ControlKind::Label, "0", 150, 1, 19, 8, kCentered},
        {1208, ControlKind::PushButton, "PEQ SW", 0, 0, 20, 10, kHidden},
        {1195, ControlKind::PushButton, "功能", 21, 5, 41, 17, kDisabled | kDefault},
        {0, ControlKind::Label, "anonymous", 0, 0, 10, 10},
    };
    QWidget dialog;
    BuildDialog(&dialog, {229, "SONORIA-S2", 506, 323, kMainWindowFont, controls});
    EXPECT_EQ(DialogId(&dialog), 229);
    EXPECT_EQ(dialog.windowTitle(), "SONORIA-S2");
    EXPECT_EQ(dialog.size(), QSize(886, 606));
    auto* value = FindControlAs<QLabel>(&dialog, 1027);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text(), "0");
    EXPECT_EQ(value->geometry(), QRect(263, 2, 33, 15));
    EXPECT_TRUE(value->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(FindControl(&dialog, 1208)->isHidden());
    auto* function = FindControlAs<QPushButton>(&dialog, 1195);
    EXPECT_FALSE(function->isEnabled());
    EXPECT_TRUE(function->isDefault());
    EXPECT_EQ(function->text(), QString::fromUtf8("功能"));
    EXPECT_EQ(ControlId(function), 1195);
    EXPECT_EQ(FindControl(&dialog, 0), nullptr);
    EXPECT_EQ(FindControl(&dialog, 4242), nullptr);
}

TEST(BuildDialog, RegisteredFactoriesMakeTheCustomControls) {
    SetControlFactory(ControlKind::Frame, [](QWidget* parent) {
        auto* label = new QLabel(parent);
        label->setProperty("custom", true);
        return label;
    });
    const ControlSpec controls[] = {{1190, ControlKind::Frame, "", 1, 144, 502, 176}};
    QWidget dialog;
    BuildDialog(&dialog, {229, "", 506, 323, kMainWindowFont, controls});
    EXPECT_TRUE(FindControl(&dialog, 1190)->property("custom").toBool());
    SetControlFactory(ControlKind::Frame, nullptr);
}

}  // namespace
}  // namespace sonoria
