// The main window opens its note list: the thumbnails of every page, lent the
// window's note records while it is open.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"

void Dialog::OptNoteListBtn()
{
    if (!m_noteDialog)
        return;
    // Pages are neither deleted nor reordered while a recording runs.
    m_noteDialog->SetEditMode(!m_bRecording);
    HidePagePanels();
    SaveCurrentNoteImage(true);
    // The thumbnails are made from the page image files.
    FinishPageImages();
    UpdatePageLabel(false, 0, 1);
    // The list reorders the records it is lent; the order it found tells,
    // when it closes, whether the lesson changed.
    m_noteOrderAtListOpen.clear();
    for (const NoteInfo& note : qAsConst(m_note_list))
        m_noteOrderAtListOpen << note.create_data;
    m_noteDialog->SetNoteList(&m_note_list, m_note_idx);
    m_noteDialog->SetLanguageText(&m_lang.common, &m_lang.noteList, &m_lang.messages);
    m_noteDialog->show();
    m_noteDialog->StartMakeThumbnails();
    // The pen module rests while the list is open; closing it starts the
    // link again.
    if (m_usbKeepAliveTimer)
        StopUsbLink();
}
