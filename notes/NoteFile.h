#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The encodings note files are read and written in.
enum class NoteEncoding {
    Locale, // the system's own 8-bit encoding, which every new note takes
    Windows1252, // notes written on Windows in its Western code page
};

// A note file as read: its bytes and the text the memo shows of them.
struct TNoteFile {
    std::optional<std::string> bytes; // nothing when the file is missing or cannot be read
    QString text; // lines separated by '\n'
    NoteEncoding encoding = NoteEncoding::Locale;
};

// The text that stored bytes of a note or of a note's name stand for, and the encoding they are
// in: the locale's when they are valid in it, Windows-1252 otherwise, where every byte stands
// for a character, so that they show readably.
QString NoteText(std::string_view bytes, NoteEncoding& encoding);

// Reads the note file at path. The text ends before the first zero byte; CR LF, a lone CR and
// a lone LF each end a line. A file that is valid in the locale's encoding is read in it; any
// other in Windows-1252, where every byte stands for a character, so that it shows readably.
TNoteFile ReadNoteFile(const std::string& path);

// The bytes text (lines separated by '\n') is stored as: CR LF between lines and nothing after
// the last, in encoding when it holds every character of the text, otherwise in the locale's,
// which encoding then becomes.
std::string NoteBytes(const QString& text, NoteEncoding& encoding);
