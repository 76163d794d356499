#pragma once

#include "notes/Postit.h"
#include "storage/Settings.h"
#include "widgets/ClickLabel.h"

#include "doubles/Child.h"
#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include <memory>

// The notes window opened offscreen on a temporary program directory, with scripted dialogs and
// a recording printer.
class NotesWindowTest : public ::testing::Test {
protected:
    doubles::TestPlatform env;
    TSettings store{env.directory()};
    std::unique_ptr<TFormPostIt> form;

    TFormPostIt& Open()
    {
        form = std::make_unique<TFormPostIt>(env.platform(), store);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    QPlainTextEdit* Memo() const { return doubles::Child<QPlainTextEdit>(*form, QStringLiteral("Memo1")); }
    QLineEdit* NameBox() const { return doubles::Child<QLineEdit>(*form, QStringLiteral("EditNameChange")); }
    widgets::TClickLabel* Label(int note) const
    {
        return doubles::Child<widgets::TClickLabel>(*form, QStringLiteral("Label%1").arg(note));
    }
    QPushButton* Button(const char* name) const
    {
        return doubles::Child<QPushButton>(*form, QString::fromLatin1(name));
    }
    // The memo's text as stored, every character as it is (plain text would show a non-breaking
    // space as a blank).
    QString MemoText() const { return Memo()->document()->toRawText().replace(QChar::ParagraphSeparator, u'\n'); }

    void Click(int note) { QTest::mouseClick(Label(note), Qt::LeftButton); }
    // A double click as the window system delivers it: a click, then the second press as a
    // double click, then its release.
    void DoubleClick(int note)
    {
        QTest::mouseClick(Label(note), Qt::LeftButton);
        QTest::mouseDClick(Label(note), Qt::LeftButton);
        QTest::mouseRelease(Label(note), Qt::LeftButton);
    }
    void Type(QWidget* widget, const QString& text) { QTest::keyClicks(widget, text); }
    void Enter(QWidget* widget) { QTest::keyClick(widget, Qt::Key_Return); }
    void Exit() { QTest::mouseClick(Button("ButtonClose"), Qt::LeftButton); }

    std::optional<std::string> Note(int note) const { return env.read("note" + std::to_string(note) + ".dat"); }
};
