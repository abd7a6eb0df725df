#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QList>
#include <QString>
#include <QStringList>

class QPushButton;

// The page-kind ring of the floating launcher, with the note list button.
// It keeps no choice: its buttons never stay checked.
class floatingnote : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingnote(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts);
    // The note list button alone; the page kinds stay usable.
    void SetNoteListEnabled(bool enabled);
    bool noteListEnabled() const;

signals:
    void CallOptNoteChange(QString key);
    void CallOptNoteList();

public slots:
    void BtnNote();
    void BtnBlackBoard();
    void BtnMusicNote();
    void BtnEnglishNote();
    void BtnManuScript();
    void BtnGraphNote();
    void BtnOffice();
    void BtnClipart();
    void BtnLoadImage();
    void BtnNoteList();

private:
    QStringList* m_hintTexts = nullptr;
    // In the order of the panel's button table; the note list button last.
    QList<QPushButton*> m_buttons;
};
