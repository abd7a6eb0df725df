#include "storage/ui/notesave.h"

NoteSave::NoteSave(QWidget* parent)
    : PlaceholderDialog("NoteSave", parent)
{
}

void NoteSave::InitNoteSave(QString languageFilePath, bool) { m_languageFilePath = languageFilePath; }
