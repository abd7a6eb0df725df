#pragma once

#include "panels/ui/placeholder_subpanel.h"

#include <QString>
#include <QStringList>

// The note-paper panel of the floating launcher.
class floatingnote : public PlaceholderSubPanel
{
    Q_OBJECT

public:
    explicit floatingnote(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    void SetNoteListEnabled(bool enabled);
    bool noteListEnabled() const { return m_noteListEnabled; }

signals:
    void CallOptNoteChange(QString key);
    void CallOptNoteList();

private:
    bool m_noteListEnabled = true;
};
