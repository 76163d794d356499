#include "resources/ProgramFonts.h"

#include <QDirIterator>
#include <QFontDatabase>
#include <QResource>

void LoadProgramFonts()
{
    // Qt lists the machine's fonts at the first use of any font. A face registered after that
    // takes the place of one already listed under the same family, maker and style, so listing
    // them first makes these faces win over another version of DejaVu on the machine; registered
    // before, either one could be taken, by the order in which fontconfig happens to list them.
    QFontDatabase::families();
    // The faces resources/CMakeLists.txt builds in.
    for (QDirIterator face(QStringLiteral(":/fonts")); face.hasNext();) {
        // Stored uncompressed, a face is read where the program file is mapped, never copied.
        const QResource resource(face.next());
        QFontDatabase::addApplicationFontFromData(
            QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), resource.size()));
    }
}
