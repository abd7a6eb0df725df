#include "storage/ui/progressdlg.h"

progressdlg::progressdlg(QWidget* parent)
    : PlaceholderDialog("progressdlg", parent)
{
    setWindowModality(Qt::WindowModal);
}

void progressdlg::SetText(QString text) { m_text = text; }
void progressdlg::SetValue(int value) { m_value = value; }
void progressdlg::SetMaximum(int maximum) { m_maximum = maximum; }
