#include "panels/ui/clipart.h"

clipart::clipart(QWidget* parent)
    : PlaceholderDialog("clipart", parent)
{
}

void clipart::InitDialog(QString clipArtFolder) { m_folder = clipArtFolder; }
void clipart::SetLanguageText(QStringList*, QStringList*) {}
