#pragma once

// File names are bytes on Linux, and not every name is valid UTF-8 (a folder
// copied from an old disk, an archive written under another encoding). Qt
// turns such bytes into U+FFFD, after which the name opens no file. Once this
// is installed, every conversion between names and texts in the process
// (QFile::encodeName / decodeName, the command line, the hand-off) keeps the
// bytes: a byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80 + byte and turns back into that byte. Valid UTF-8 is read as before.
namespace platform {

// Makes the lossless UTF-8 codec the process's local 8-bit codec. Call it
// first thing in main, before any text from outside is read.
void UseLosslessFileNames();

}  // namespace platform
