#include "panels/ui/floatingnote.h"

#include <QPushButton>

namespace {
constexpr int kNoteListRow = 9;
}  // namespace

floatingnote::floatingnote(QWidget* parent)
    : FloatingSubPanel("floatingnote", parent)
{
    for (const PanelButton& spec : NotePanelButtons()) {
        QPushButton* button = AddRingButton(spec.objectName);
        button->setCheckable(false);
        m_buttons << button;
    }
}

void floatingnote::InitDialog(QStringList* hintTexts)
{
    m_hintTexts = hintTexts;
    for (QPushButton* b : qAsConst(m_buttons))
        WatchHover(b);
    InitFrame(QLatin1String(kNoteFolder), QLatin1String(kNoteBackground));
    StyleButtons(m_buttons, NotePanelButtons(), m_hintTexts);
    static const char* const buttonSlots[] = {
        SLOT(BtnNote()),      SLOT(BtnBlackBoard()), SLOT(BtnMusicNote()), SLOT(BtnEnglishNote()),
        SLOT(BtnManuScript()), SLOT(BtnGraphNote()), SLOT(BtnOffice()),    SLOT(BtnClipart()),
        SLOT(BtnLoadImage()), SLOT(BtnNoteList())};
    for (int row = 0; row < m_buttons.size(); ++row)
        connect(m_buttons[row], SIGNAL(clicked()), this, buttonSlots[row]);
    hide();
}

void floatingnote::SetNoteListEnabled(bool enabled) { m_buttons[kNoteListRow]->setEnabled(enabled); }
bool floatingnote::noteListEnabled() const { return m_buttons[kNoteListRow]->isEnabled(); }

// The black-board button makes the dark note page, whose kind is "BlackNote".
void floatingnote::BtnNote() { emit CallOptNoteChange(QStringLiteral("WhiteBoard")); }
void floatingnote::BtnBlackBoard() { emit CallOptNoteChange(QStringLiteral("BlackNote")); }
void floatingnote::BtnMusicNote() { emit CallOptNoteChange(QStringLiteral("MusicNote")); }
void floatingnote::BtnEnglishNote() { emit CallOptNoteChange(QStringLiteral("EngNote")); }
void floatingnote::BtnManuScript() { emit CallOptNoteChange(QStringLiteral("ManuNote")); }
void floatingnote::BtnGraphNote() { emit CallOptNoteChange(QStringLiteral("GraphNote")); }
void floatingnote::BtnOffice() { emit CallOptNoteChange(QStringLiteral("Office")); }
void floatingnote::BtnClipart() { emit CallOptNoteChange(QStringLiteral("ClipArt")); }
void floatingnote::BtnLoadImage() { emit CallOptNoteChange(QStringLiteral("LoadImage")); }
void floatingnote::BtnNoteList() { emit CallOptNoteList(); }
