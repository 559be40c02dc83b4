// The real message boxes: a question must be answered with a button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MessageService.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

QMessageBox* OpenBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

// Runs `act` on the box once it is open (from inside its modal run).
void WhenOpen(std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        ASSERT_TRUE(test::WaitUntil([] { return OpenBox() != nullptr && OpenBox()->isVisible(); }));
        act(OpenBox());
    });
}

TEST(MessageBoxes, EscapeAndTheCloseBoxDoNotAnswerAQuestion) {
    for (const QMessageBox::StandardButton choice : {QMessageBox::Yes, QMessageBox::No}) {
        QString title;
        WhenOpen([&](QMessageBox* box) {
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            QCoreApplication::processEvents();
            EXPECT_TRUE(box->isVisible()) << "still waiting for an answer";
            box->button(choice)->click();
        });
        const MessageAnswer answer =
            ShowMessage({nullptr, QString::fromUtf8("请问是否需要保存当前参数?"), QString::fromUtf8("保存?"),
                         MessageIcon::Question, MessageButtons::YesNo});
        EXPECT_EQ(answer, choice == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No);
        EXPECT_EQ(title, QString::fromUtf8("保存?"));  // the caption exactly
    }
}

TEST(MessageBoxes, EscapeStillClosesANotice) {
    WhenOpen([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(ShowMessage({nullptr, QString::fromUtf8("机器型号与软件不匹配,无法调控!"), QString::fromUtf8("错误"),
                           MessageIcon::Error, MessageButtons::Ok}),
              MessageAnswer::Ok);
}

}  // namespace
}  // namespace sonoria
