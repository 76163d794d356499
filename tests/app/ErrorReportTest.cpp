#include "app/Application.h"

#include "doubles/FakePlatform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include <stdexcept>

namespace {

// Fails on every event it is sent, as a handler may.
class FailingObject : public QObject {
public:
    int events = 0;
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++events;
        throw std::runtime_error("Cannot create file /tmp/flist1.dll");
    }
};

TEST(ErrorReport, AFailureEscapingAHandlerIsShownAndTheProgramGoesOn)
{
    auto* application = dynamic_cast<TApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    doubles::ScriptedDialogs dialogs;
    application->setErrorDialogs(&dialogs);

    FailingObject object;
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&object);
    application->setErrorDialogs(nullptr);

    EXPECT_EQ(object.events, 2);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot create file /tmp/flist1.dll."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Stackle"));
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].buttons, platform::MessageButtons::Ok);
}

} // namespace
