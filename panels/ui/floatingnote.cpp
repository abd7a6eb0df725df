#include "panels/ui/floatingnote.h"

floatingnote::floatingnote(QWidget* parent)
    : FloatingSubPanel("floatingnote", parent)
{
}

void floatingnote::InitDialog(QStringList*) {}
void floatingnote::SetNoteListEnabled(bool enabled) { m_noteListEnabled = enabled; }
