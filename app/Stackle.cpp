#include "app/Stackle.h"

#include "app/Main.h"
#include "notes/Postit.h"
#include "platform/ProgramLocation.h"
#include "storage/ProgramFiles.h"

#include <QCoreApplication>

TStackle::TStackle(const platform::Platform& platform)
    : platform_(platform)
{
    RemoveInterruptedWrites(platform_.location.programDirectory());
    strip_ = std::make_unique<TForm1>(platform_, *this);
}

TStackle::~TStackle() = default;

void TStackle::Quit()
{
    QCoreApplication::quit();
}

void TStackle::ShowNotes()
{
    TFormPostIt notes(platform_);
    notes.exec();
}
