// Language tables and re-texting windows from them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "app/LanguageTable.h"
#include "app/Localization.h"
#include "app/Settings.h"
#include "state/Language.h"

namespace sonoria {
namespace {

QByteArray Gbk(const char* utf8) {
    QStringEncoder encoder("GBK");
    return encoder(QString::fromUtf8(utf8));
}

const ControlSpec kControls[] = {
    {1026, ControlKind::Label, "MIC", 68, 1, 33, 8},
    {1019, ControlKind::PushButton, "中文", 2, 5, 19, 17},
    {1210, ControlKind::CheckBox, "中置超低转后置", 433, 65, 64, 10},
    {1207, ControlKind::Label, "未连接", 36, 123, 42, 8, kCentered},
    {1300, ControlKind::Label, "A&&B", 0, 0, 10, 8},
};
const DialogSpec kDialog{229, "SONORIA-S2", 506, 323, kMainWindowFont, kControls};

TEST(LanguageTable, ReadsTheStringSectionFirstKeyWins) {
    const auto table = LanguageTable::FromGbk(Gbk("[Other]\r\nIDD1_1=no\r\n[String]\r\n// comment\r\n"
                                                  "IDD229_1026=话筒音量\r\nidd229_1026=second\r\nIDD229_2=\r\n"
                                                  "IDD229_title=Title\r\n[Next]\r\nIDD229_3=no\r\n"));
    EXPECT_EQ(table.Lookup("IDD229_1026"), QString::fromUtf8("话筒音量"));
    EXPECT_EQ(table.Lookup("IDD1_1"), std::nullopt);
    EXPECT_EQ(table.Lookup("IDD229_2"), std::nullopt);  // an empty text counts as missing
    EXPECT_EQ(table.Lookup(TitleKey(229)), QString("Title"));
    EXPECT_EQ(table.Lookup("IDD229_3"), std::nullopt);
    EXPECT_EQ(ControlKey(362, 1106), "IDD362_1106");
    EXPECT_EQ(LanguageTableId(0), 202);
    EXPECT_EQ(LanguageTableId(1), 203);
    EXPECT_EQ(LanguageTableId(7), 203);
}

TEST(LanguageTable, EmbeddedTablesMatchTheirSourcesAndNameTheOtherLanguage) {
    for (int id : {202, 203}) {
        QFile source(QStringLiteral(SONORIA_SOURCE_DIR "/resources/lang/source/%1.ini").arg(id));
        QFile embedded(QStringLiteral(":/lang/%1.ini").arg(id));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly) && embedded.open(QIODevice::ReadOnly)) << id;
        QStringDecoder gbk("GBK");
        QString decoded = gbk(embedded.readAll());
        EXPECT_TRUE(decoded.contains(QStringLiteral("\r\n")));
        EXPECT_EQ(decoded.remove(QLatin1Char('\r')), QString::fromUtf8(source.readAll()))
            << "run tools/encode_language_tables.sh after editing the sources";
    }
    EXPECT_EQ(LanguageTable::FromResource(202).Lookup("IDD229_1019"), QString("En"));
    EXPECT_EQ(LanguageTable::FromResource(203).Lookup("IDD229_1019"), QString::fromUtf8("中文"));
    EXPECT_TRUE(LanguageTable::FromResource(999).IsEmpty());
}

TEST(ApplyLanguageTexts, SetsNamedTextsAndLeavesTheRest) {
    QWidget window;
    BuildDialog(&window, kDialog);
    QWidget* page = new QWidget(&window);
    QLabel* nested = new QLabel(QStringLiteral("nested"), page);
    SetControlId(nested, 1026);
    const auto table = LanguageTable::FromGbk(
        Gbk("[String]\r\nIDD229_title=Changed\r\nIDD229_1026=Mic Vol\r\nIDD229_1210=C&&S To Rear L&&R\r\n"
            "IDD229_1019=En\r\nIDD229_1019=Later\r\nIDD229_1300=X&&Y\r\n"));
    ApplyLanguageTexts(&window, 229, table);
    EXPECT_EQ(window.windowTitle(), "Changed");
    EXPECT_EQ(FindControlAs<QLabel>(&window, 1026)->text(), "Mic Vol");
    EXPECT_EQ(FindControlAs<QPushButton>(&window, 1019)->text(), "En");
    // Buttons read "&&" as "&" themselves; labels get the single "&".
    EXPECT_EQ(FindControlAs<QCheckBox>(&window, 1210)->text(), "C&&S To Rear L&&R");
    EXPECT_EQ(FindControl(&window, 1300)->property("text").toString(), "X&Y");
    EXPECT_EQ(FindControlAs<QLabel>(&window, 1207)->text(), QString::fromUtf8("未连接"));
    EXPECT_EQ(nested->text(), "nested");  // only direct children are re-texted
}

TEST(ApplyLanguageTexts, LoadingALanguageSwitchesTheTableAndTheDisplayLanguage) {
    QWidget window;
    BuildDialog(&window, kDialog);
    ASSERT_TRUE(LoadLanguage(1));
    EXPECT_EQ(CurrentLanguage(), 1);
    ApplyLanguageTexts(&window, 229);
    EXPECT_EQ(ControlText(FindControl(&window, 1026)), "Mic Vol");
    EXPECT_EQ(ControlText(FindControl(&window, 1019)), QString::fromUtf8("中文"));
    ASSERT_TRUE(LoadLanguage(0));
    EXPECT_EQ(CurrentLanguage(), 0);
    ApplyLanguageTexts(&window, 229);
    EXPECT_EQ(ControlText(FindControl(&window, 1026)), QString::fromUtf8("话筒音量"));
    EXPECT_EQ(ControlText(FindControl(&window, 1019)), "En");
    EXPECT_EQ(window.windowTitle(), "SONORIA-S2");  // no table renames the main window
}

TEST(ApplyLanguageTexts, TheToggleReachesBothLanguagesAndIsStored) {
    QTemporaryDir dir;
    SetSettingsFileForTesting(dir.filePath("settings.ini"));
    QWidget window;
    BuildDialog(&window, kDialog);
    int refreshed = 0;
    const auto refresh = [&] { ++refreshed; };
    SelectLanguage(ReadLanguageSetting(), &window, 229, refresh);  // first start: no value, Chinese
    EXPECT_EQ(CurrentLanguage(), 0);
    EXPECT_EQ(ControlText(FindControl(&window, 1019)), "En");
    int language = ToggleLanguage(0, &window, 229, refresh);
    EXPECT_EQ(language, 1);
    EXPECT_EQ(ReadLanguageSetting(), 1);
    EXPECT_EQ(ControlText(FindControl(&window, 1026)), "Mic Vol");
    language = ToggleLanguage(language, &window, 229, refresh);
    EXPECT_EQ(language, 0);
    EXPECT_EQ(ReadLanguageSetting(), 0);
    EXPECT_EQ(ControlText(FindControl(&window, 1026)), QString::fromUtf8("话筒音量"));
    EXPECT_EQ(refreshed, 3);
    SetSettingsFileForTesting({});
}

}  // namespace
}  // namespace sonoria
