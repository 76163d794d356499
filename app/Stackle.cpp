#include "app/Stackle.h"

#include "app/Main.h"
#include "notes/Postit.h"
#include "options/Options.h"
#include "platform/ProgramLocation.h"
#include "resources/Artwork.h"
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

void TStackle::ShowOptions()
{
    // A new window for every opening, released once it is closed.
    TFormOptions options(platform_, *strip_, Artwork(QStringLiteral("arrow-up")),
                         Artwork(QStringLiteral("arrow-down")));
    options.exec();
}
