#include "tools/ui/rec.h"

rec::rec(QWidget* parent)
    : PlaceholderDialog("rec", parent)
{
}

void rec::SetLanguageText(QStringList*, QStringList*) {}

void rec::SetButtonsEnabled(int cameraCount, int microphoneCount)
{
    m_cameraEnabled = cameraCount != 0;
    m_audioEnabled = microphoneCount != 0;
}
