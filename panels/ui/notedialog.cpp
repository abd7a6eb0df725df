#include "panels/ui/notedialog.h"

NoteDialog::NoteDialog(QWidget* parent)
    : PlaceholderDialog("NoteDialog", parent)
{
}

void NoteDialog::InitDialog(QString workFolder) { m_workFolder = workFolder; }
