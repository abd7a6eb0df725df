#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// The rules of the settings dialog that need no window: the colour list, the
// pen-width steppers, the enabling of the recording controls by recording
// type, the recording defaults, the volume percentage and a few captions.
namespace configdlg {

// The board colours offered, in list order; the last is the black board.
const QStringList& BoardColorNames();

// The colour of a list entry's swatch: the named colour, or the black-board
// green for "blackboard color".
QColor BoardColorSwatch(const QString& name);

// Pen widths step between these bounds.
constexpr int kMinPenWidth = 1;
constexpr int kMaxPenWidth = 10;

// One press of a width arrow: `step` -1 lowers, +1 raises. A width at or past
// the bound in the direction of the step stays where it is, so a width read
// from a hand-edited file (0, or 15) can be brought back into range but never
// pushed further out of it.
int SteppedPenWidth(int width, int step);

// A width field's text as a decimal number; 0 for a text that is not one.
int PenWidthFromText(const QString& text);

// Which groups of recording controls a recording type enables. `known` is
// false for a type outside 0..3: the controls keep their state then.
struct RecordingControls {
    bool known = false;
    bool camera = false;
    bool audio = false;
    bool screen = false;
};
RecordingControls RecordingControlsForType(int type);

// The entries the recording page's "default settings" button selects.
struct RecordingChoices {
    int type = 3;
    int viewPos = 0;
    int videoRatio = 1;
    int videoPreset = 2;
    int videoQuality = 1;
    int videoFrameRate = 5;
    int audioQuality = 1;
    int audioBitRate = 1;
    int screenPreset = 1;
    int screenQuality = 1;
    int screenFrameRate = 5;
};
RecordingChoices RecordingDefaultChoices();

// A volume level (0.0 .. 1.0) as the whole percentage a slider shows,
// truncated toward zero. A level that stands for a whole percentage but is
// stored a hair below it (0.29 as a float is 0.28999999) still shows that
// percentage, so showing a level and writing it back never lowers it.
int VolumePercent(float level);

// The file filter of the background and logo choosers.
QString ImageFileFilter();

// The version caption of the information page.
QString VersionCaption(const QString& version);

// The rich text of the website link: the address as both target and text.
QString WebsiteLink(const QString& address);

// The font family the dialog uses: the Korean interface font for language 0,
// else "Tahoma".
QString DialogFontFamily(int language);

}  // namespace configdlg
