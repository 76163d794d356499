#include "platform/session/QtDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

// A message naming a file whose name looks like markup shows that name, and nothing else.
TEST(QtDialogs, MessagesShowTheirTextNeverMarkup)
{
    const QString text = QStringLiteral("File was not found.(/d/missing <u>x</u> <img src=\"/tmp/pic.png\">.exe)");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (const QLabel* label : box->findChildren<QLabel*>())
            if (label->text() == text) {
                shown = label->text();
                format = label->textFormat();
            }
        box->accept();
    });
    platform::QtDialogs dialogs;
    EXPECT_EQ(
        dialogs.MessageBox(text, QStringLiteral("Error"), platform::MessageKind::Error, platform::MessageButtons::Ok),
        platform::MessageAnswer::Ok);
    EXPECT_EQ(shown, text);
    EXPECT_EQ(format, Qt::PlainText);
}

} // namespace
