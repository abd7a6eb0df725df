#include "panels/ui/floatingnote.h"

floatingnote::floatingnote(QWidget* parent)
    : PlaceholderSubPanel("floatingnote", parent)
{
}

void floatingnote::InitDialog(QStringList*) {}
void floatingnote::SetNoteListEnabled(bool enabled) { m_noteListEnabled = enabled; }
