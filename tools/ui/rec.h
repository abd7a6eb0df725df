#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QStringList>

// The recording-type dialog: camera video, audio or the screen.
class rec : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit rec(QWidget* parent = nullptr);

    void SetLanguageText(QStringList* selRecTypeTexts, QStringList* commonTexts);
    void SetButtonsEnabled(int cameraCount, int microphoneCount);

    bool cameraChoiceEnabled() const { return m_cameraEnabled; }
    bool audioChoiceEnabled() const { return m_audioEnabled; }

signals:
    // 0 camera video, 1 audio, 2 screen.
    void CallRecStart(int type);

private:
    bool m_cameraEnabled = false;
    bool m_audioEnabled = false;
};
