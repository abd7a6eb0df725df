#include "panels/ui/notedialog.h"

NoteDialog::NoteDialog(QWidget* parent)
    : PlaceholderDialog("NoteDialog", parent)
{
}

void NoteDialog::InitDialog(QString workFolder) { m_workFolder = workFolder; }

// The list itself is not built yet: what it is lent is not kept.
void NoteDialog::SetEditMode(bool) {}
void NoteDialog::SetNoteList(QVector<NoteInfo>*, int) {}
void NoteDialog::SetLanguageText(QStringList*, QStringList*, QStringList*) {}
void NoteDialog::StartMakeThumbnails() {}
