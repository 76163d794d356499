#include "exebtn/StartFile.h"

#include <array>

namespace {

struct Message {
    int code;
    const char* english;
    const char* german;
};

// Code 2 names the file: its text continues with the file and ")". Every text stays whole on its
// line, as it is shown.
// clang-format off
constexpr std::array Messages{
    Message{0, "System was out of memory, executable file was corrupt, or relocations were invalid.",
            "Zuwenig Speicher, ausführbare Datei war zerstört, Relokationswerte waren ungültig."},
    Message{2, "File was not found.(", "Datei wurde nicht gefunden.("},
    Message{3, "Path was not found.", "Verzeichnis wurde nicht gefunden."},
    Message{5, "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error.",
            "Gescheiterter dynamischer Link einer Task oder Fehler beim gemeinsamen Zugriff auf eine Datei im Netz."},
    Message{6, "Library required separate data segments for each task.",
            "Bibliothek forderte separate Datensegmente für jede Task an."},
    Message{8, "There was insufficient memory to start the application.", "Zuwenig Speicher, um die Anwendung zu starten."},
    Message{10, "Windows version was incorrect.", "Falsche Windows-Version."},
    Message{11, "Executable file was invalid. Either it was not a Windows application or there was an error in the .EXE image.",
            "Ungültige ausführbare Datei. Entweder keine Windows-Anwendung oder Fehler in der EXE-Datei."},
    Message{12, "Application was designed for a different operating system.", "Anwendung für ein anderes Betriebssystem."},
    Message{13, "Application was designed for MS-DOS 4.0.", "Anwendung für MS-DOS 4.0."},
    Message{14, "Type of executable file was unknown.", "Typ der ausführbaren Datei unbekannt."},
    Message{15, "Attempt was made to load a real-mode application (developed for an earlier version of Windows).",
            "Versuch, eine Real-Mode-Anwendung (für eine frühere Windows-Version) zu laden."},
    Message{16, "Attempt was made to load a second instance of an executable file containing multiple data segments",
            "Versuch, eine zweite Instanz einer ausführbaren Datei mit mehreren Datensegmenten zu laden."},
    Message{19, "Attempt was made to load a compressed executable file. The file must be decompressed before it can be loaded.",
            "Versuch, eine komprimierte ausführbare Datei zu laden."},
    Message{20, "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this application was corrupt.",
            "Ungültige dynamische Linkbibliothek (DLL)."},
    Message{21, "Application requires Microsoft Windows 32-bit extensions.", "Anwendung benötigt Windows-32-Bit-Erweiterungen."},
};
// clang-format on

} // namespace

std::string StartFailureMessage(int code, TLanguage language, const std::string& exeFile)
{
    for (const Message& message : Messages) {
        if (message.code != code)
            continue;
        std::string text = language == TLanguage::german ? message.german : message.english;
        if (code == 2)
            text += exeFile + ")";
        return text;
    }
    return language == TLanguage::german ? "Unbekannter Fehler." : "Unknown Error.";
}
