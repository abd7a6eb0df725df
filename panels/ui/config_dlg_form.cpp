#include "panels/ui/config_dlg_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

namespace {

// Widgets carry the form's own font; the few that set only the size take
// the family the dialog chooses at initialisation.
QFont FormFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(9);
    return font;
}

QFont SizeOnlyFont()
{
    QFont font;
    font.setPointSize(9);
    return font;
}

template <typename W>
W* Make(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    W* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    widget->setFont(FormFont());
    return widget;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, int x, int y, int w, int h, bool sizeOnlyFont)
{
    QGroupBox* group = Make<QGroupBox>(parent, name, x, y, w, h);
    if (sizeOnlyFont)
        group->setFont(SizeOnlyFont());
    return group;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text = QString())
{
    QLabel* label = Make<QLabel>(parent, name, x, y, w, h);
    label->setText(text);
    return label;
}

QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    QLineEdit* edit = Make<QLineEdit>(parent, name, x, y, w, h);
    edit->setReadOnly(true);
    return edit;
}

QFrame* MakeLine(QWidget* parent, const char* name, int x, int y, int w)
{
    QFrame* line = Make<QFrame>(parent, name, x, y, w, 3);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QSlider* MakeSlider(QWidget* parent, const char* name, int x, int y, int w, int maximum)
{
    QSlider* slider = Make<QSlider>(parent, name, x, y, w, 20);
    slider->setOrientation(Qt::Horizontal);
    slider->setRange(0, maximum);
    return slider;
}

QWidget* MakePage(QTabWidget* tabs, const char* name)
{
    QWidget* page = new QWidget();
    page->setObjectName(QString::fromLatin1(name));
    tabs->addTab(page, QString());
    return page;
}

// One label/combo-box row of the recording page.
void MakeRecordingRow(QWidget* parent, const char* labelName, QLabel** label, const char* comboName,
                      QComboBox** combo, int y)
{
    *label = MakeLabel(parent, labelName, 15, y, 165, 20);
    *combo = Make<QComboBox>(parent, comboName, 185, y - 1, 221, 22);
}

}  // namespace

void Ui_ConfigDlg::setupUi(QDialog* dialog)
{
    dialog->setObjectName(QStringLiteral("ConfigDlg"));
    dialog->resize(452, 520);
    dialog->setMinimumSize(452, 520);
    dialog->setMaximumSize(452, 520);
    dialog->setModal(true);
    dialog->setFont(FormFont());

    tabwidget = Make<QTabWidget>(dialog, "tabwidget", 0, 0, 451, 481);
    tabwidget->setTabPosition(QTabWidget::North);
    tabwidget->setElideMode(Qt::ElideNone);
    tabwidget->setUsesScrollButtons(true);
    tabwidget->setMovable(false);
    tabwidget->setTabsClosable(false);

    keybtn = Make<QPushButton>(dialog, "keybtn", 10, 490, 40, 20);
    keybtn->setFocusPolicy(Qt::NoFocus);
    Btn_Init = Make<QPushButton>(dialog, "Btn_Init", 70, 490, 100, 23);
    okbtn = Make<QPushButton>(dialog, "okbtn", 210, 490, 120, 23);
    okbtn->setFocusPolicy(Qt::NoFocus);
    cancelbtn = Make<QPushButton>(dialog, "cancelbtn", 330, 490, 120, 23);
    cancelbtn->setFocusPolicy(Qt::NoFocus);

    // Page 0: the project and recording folders.
    folder = MakePage(tabwidget, "folder");
    folder_group = MakeGroup(folder, "folder_group", 10, 10, 421, 110, false);
    folder_txt = MakeLabel(folder_group, "folder_txt", 15, 25, 391, 20);
    folder_edit = MakeReadOnlyEdit(folder_group, "folder_edit", 15, 50, 346, 24);
    folder_pathbtn = Make<QPushButton>(folder_group, "folder_pathbtn", 366, 50, 40, 24);
    folder_pathbtn->setText(QStringLiteral("..."));
    folder_pathbtn->setFocusPolicy(Qt::NoFocus);
    folder_group2 = MakeGroup(folder, "folder_group2", 10, 130, 421, 110, false);
    rec_SavePathL = MakeLabel(folder_group2, "rec_SavePathL", 15, 25, 391, 20);
    rec_SavePathE = MakeReadOnlyEdit(folder_group2, "rec_SavePathE", 15, 50, 346, 24);
    rec_SavePathT = Make<QToolButton>(folder_group2, "rec_SavePathT", 366, 50, 40, 24);
    rec_SavePathT->setText(QStringLiteral("..."));

    // Page 1: the four pen widths.
    pen = MakePage(tabwidget, "pen");
    pen_group = MakeGroup(pen, "pen_group", 10, 10, 421, 200, true);
    for (int row = 0; row < 4; ++row) {
        const int y = 35 + row * 40;
        const QByteArray n = QByteArray::number(row + 1);
        pen_label_width[row] = MakeLabel(pen_group, ("pen_label_width" + n).constData(), 15, y, 140, 20);
        pen_label_width[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pen_left_width[row] = Make<QToolButton>(pen_group, ("pen_left_width" + n).constData(), 165, y, 24, 20);
        pen_left_width[row]->setArrowType(Qt::LeftArrow);
        QTextEdit* text = Make<QTextEdit>(pen_group, ("pen_text_width" + n).constData(), 195, y, 100, 20);
        text->setReadOnly(true);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->document()->setDocumentMargin(1);
        pen_text_width[row] = text;
        pen_right_width[row] = Make<QToolButton>(pen_group, ("pen_right_width" + n).constData(), 301, y, 24, 20);
        pen_right_width[row]->setArrowType(Qt::RightArrow);
    }

    // Page 2: board colour, background picture and logo.
    note = MakePage(tabwidget, "note");
    note_group = MakeGroup(note, "note_group", 10, 10, 421, 310, true);
    note_colortxt = MakeLabel(note_group, "note_colortxt", 15, 28, 130, 20);
    note_colorcombo = Make<QComboBox>(note_group, "note_colorcombo", 150, 26, 200, 24);
    line1 = MakeLine(note_group, "line1", 15, 60, 391);
    note_bgtxt = MakeLabel(note_group, "note_bgtxt", 15, 70, 391, 20);
    note_bgedit = MakeReadOnlyEdit(note_group, "note_bgedit", 15, 94, 300, 24);
    note_bgbtn = Make<QPushButton>(note_group, "note_bgbtn", 320, 94, 40, 24);
    note_bgbtn->setText(QStringLiteral("..."));
    note_bgdel = Make<QPushButton>(note_group, "note_bgdel", 366, 94, 24, 24);
    note_bgtrans_txt = MakeLabel(note_group, "note_bgtrans_txt", 15, 126, 391, 20);
    note_txt1 = MakeLabel(note_group, "note_txt1", 15, 150, 25, 20, QStringLiteral("0"));
    note_bgslider = MakeSlider(note_group, "note_bgslider", 40, 150, 290, 255);
    note_txt2 = MakeLabel(note_group, "note_txt2", 335, 150, 30, 20, QStringLiteral("255"));
    note_bgtrans_val = MakeLabel(note_group, "note_bgtrans_val", 370, 150, 36, 20, QStringLiteral("255"));
    note_logotxt = MakeLabel(note_group, "note_logotxt", 15, 190, 391, 20);
    note_logoedit = MakeReadOnlyEdit(note_group, "note_logoedit", 15, 214, 300, 24);
    note_logobtn = Make<QPushButton>(note_group, "note_logobtn", 320, 214, 40, 24);
    note_logobtn->setText(QStringLiteral(".."));
    note_logodel = Make<QPushButton>(note_group, "note_logodel", 366, 214, 24, 24);
    note_logotrans_txt = MakeLabel(note_group, "note_logotrans_txt", 15, 246, 391, 20);
    note_txt1_2 = MakeLabel(note_group, "note_txt1_2", 15, 270, 25, 20, QStringLiteral("0"));
    note_logoslider = MakeSlider(note_group, "note_logoslider", 40, 270, 290, 255);
    note_txt2_2 = MakeLabel(note_group, "note_txt2_2", 335, 270, 30, 20, QStringLiteral("255"));
    note_logotrans_val = MakeLabel(note_group, "note_logotrans_val", 370, 270, 36, 20, QStringLiteral("255"));

    // Page 3: dual display.
    dual = MakePage(tabwidget, "dual");
    dual_group = MakeGroup(dual, "dual_group", 10, 10, 421, 70, true);
    dual_check = Make<QCheckBox>(dual_group, "dual_check", 15, 30, 391, 22);
    dual_txt = MakeLabel(dual, "dual_txt", 15, 90, 411, 60);
    dual_txt->setEnabled(false);
    dual_txt->setWordWrap(true);

    // Page 4: recording. The two preset rows are never shown; they sit below
    // the visible rows so hiding them leaves no gap.
    rec = MakePage(tabwidget, "rec");
    rec_group = MakeGroup(rec, "rec_group", 10, 6, 421, 440, false);
    MakeRecordingRow(rec_group, "rec_typeL", &rec_typeL, "rec_typeC", &rec_typeC, 25);
    rec_FileNameC = Make<QCheckBox>(rec_group, "rec_FileNameC", 15, 50, 391, 20);
    rec_DialogC = Make<QCheckBox>(rec_group, "rec_DialogC", 15, 72, 391, 20);
    line1_2 = MakeLine(rec_group, "line1_2", 15, 96, 391);
    MakeRecordingRow(rec_group, "rec_camdeviceL", &rec_camdeviceL, "rec_camdeviceC", &rec_camdeviceC, 105);
    MakeRecordingRow(rec_group, "rec_viewlocationL", &rec_viewlocationL, "rec_viewlocationC", &rec_viewlocationC, 131);
    MakeRecordingRow(rec_group, "rec_ratioL", &rec_ratioL, "rec_ratioC", &rec_ratioC, 157);
    MakeRecordingRow(rec_group, "rec_videoqualityL", &rec_videoqualityL, "rec_videoqualityC", &rec_videoqualityC, 183);
    MakeRecordingRow(rec_group, "rec_videoframerateL", &rec_videoframerateL, "rec_videoframerateC",
                     &rec_videoframerateC, 209);
    line1_3 = MakeLine(rec_group, "line1_3", 15, 236, 391);
    MakeRecordingRow(rec_group, "rec_audiodeviceL", &rec_audiodeviceL, "rec_audiodeviceC", &rec_audiodeviceC, 245);
    MakeRecordingRow(rec_group, "rec_audioqualityL", &rec_audioqualityL, "rec_audioqualityC", &rec_audioqualityC, 271);
    MakeRecordingRow(rec_group, "rec_bitrateL", &rec_bitrateL, "rec_bitrateC", &rec_bitrateC, 297);
    line1_4 = MakeLine(rec_group, "line1_4", 15, 324, 391);
    MakeRecordingRow(rec_group, "rec_screenqualityL", &rec_screenqualityL, "rec_screenqualityC", &rec_screenqualityC,
                     333);
    MakeRecordingRow(rec_group, "rec_screenframerateL", &rec_screenframerateL, "rec_screenframerateC",
                     &rec_screenframerateC, 359);
    rec_InitB = Make<QPushButton>(rec_group, "rec_InitB", 256, 395, 150, 24);
    MakeRecordingRow(rec_group, "rec_presetL", &rec_presetL, "rec_presetC", &rec_presetC, 410);
    MakeRecordingRow(rec_group, "rec_screenpresetL", &rec_screenpresetL, "rec_screenpresetC", &rec_screenpresetC, 410);
    rec_ratioC->addItems({QStringLiteral("320x240 [QVGA]"), QStringLiteral("640x480 [VGA]"),
                          QStringLiteral("1280x720 [HD]"), QStringLiteral("1920x1080 [Full HD]")});
    const QStringList frameRates = {QStringLiteral("5"),  QStringLiteral("10"), QStringLiteral("15"),
                                    QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30")};
    rec_videoframerateC->addItems(frameRates);
    rec_screenframerateC->addItems(frameRates);
    rec_bitrateC->addItems({QStringLiteral("96"), QStringLiteral("128"), QStringLiteral("192"), QStringLiteral("256"),
                            QStringLiteral("320")});

    // Page 5: the lecture-upload server.
    Upload_contents = MakePage(tabwidget, "Upload_contents");
    upload_groupBox = MakeGroup(Upload_contents, "upload_groupBox", 10, 10, 421, 110, false);
    upload_label_Server = MakeLabel(upload_groupBox, "upload_label_Server", 15, 32, 60, 20, QStringLiteral("Server"));
    upload_lineEditID_Server = Make<QLineEdit>(upload_groupBox, "upload_lineEditID_Server", 80, 30, 326, 24);
    upload_label_Port = MakeLabel(upload_groupBox, "upload_label_Port", 15, 68, 60, 20, QStringLiteral("Port"));
    upload_lineEditID_Port = Make<QLineEdit>(upload_groupBox, "upload_lineEditID_Port", 80, 66, 100, 24);

    // Page 6: speaker and microphone volume, in percent.
    tab = MakePage(tabwidget, "tab");
    Volume_GroupBox = MakeGroup(tab, "Volume_GroupBox", 10, 10, 421, 120, false);
    Sound_Volume_label = MakeLabel(Volume_GroupBox, "Sound_Volume_label", 15, 34, 100, 20);
    horizontalSlider_Sound = MakeSlider(Volume_GroupBox, "horizontalSlider_Sound", 120, 34, 240, 100);
    label_spkValue = MakeLabel(Volume_GroupBox, "label_spkValue", 370, 34, 36, 20, QStringLiteral("0"));
    Mic_Volume_label = MakeLabel(Volume_GroupBox, "Mic_Volume_label", 15, 74, 100, 20);
    horizontalSlider_Mic = MakeSlider(Volume_GroupBox, "horizontalSlider_Mic", 120, 74, 240, 100);
    label_micValue = MakeLabel(Volume_GroupBox, "label_micValue", 370, 74, 36, 20, QStringLiteral("0"));

    // Page 7: board options, toolbar and language.
    opt = MakePage(tabwidget, "opt");
    opt_group1 = MakeGroup(opt, "opt_group1", 10, 10, 421, 120, true);
    opt_clearcheck = Make<QCheckBox>(opt_group1, "opt_clearcheck", 15, 34, 20, 20);
    opt_clearlabel = MakeLabel(opt_group1, "opt_clearlabel", 40, 26, 366, 36);
    opt_clearlabel->setWordWrap(true);
    opt_cursorcheck = Make<QCheckBox>(opt_group1, "opt_cursorcheck", 15, 78, 20, 20);
    opt_cursorlabel = MakeLabel(opt_group1, "opt_cursorlabel", 40, 70, 366, 36);
    opt_cursorlabel->setWordWrap(true);
    opt_group2 = MakeGroup(opt, "opt_group2", 10, 140, 421, 70, true);
    opt_toolpos_save = Make<QCheckBox>(opt_group2, "opt_toolpos_save", 15, 34, 20, 20);
    opt_toolpos_save->setFont(SizeOnlyFont());
    opt_toolposlabel = MakeLabel(opt_group2, "opt_toolposlabel", 40, 28, 366, 32);
    opt_toolposlabel->setWordWrap(true);
    opt_group3 = MakeGroup(opt, "opt_group3", 10, 220, 421, 120, true);
    opt_langcombo = Make<QComboBox>(opt_group3, "opt_langcombo", 15, 30, 250, 24);
    opt_txt = MakeLabel(opt_group3, "opt_txt", 15, 64, 391, 44);
    opt_txt->setEnabled(false);
    opt_txt->setWordWrap(true);

    // Page 8: information. The empty label is a hidden spot.
    info = MakePage(tabwidget, "info");
    info_frame = Make<QFrame>(info, "info_frame", 30, 35, 391, 91);
    info_frame->setFrameShape(QFrame::Box);
    info_verson = MakeLabel(info, "info_verson", 30, 145, 391, 30);
    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPointSize(16);
    info_verson->setFont(versionFont);
    info_verson->setAlignment(Qt::AlignCenter);
    info_website = MakeLabel(info, "info_website", 30, 190, 391, 20);
    info_website->setAlignment(Qt::AlignCenter);
    info_updatebtn = Make<QPushButton>(info, "info_updatebtn", 160, 235, 131, 28);
    info_updatebtn->setText(QStringLiteral("Update"));
    info_updatebtn->setFocusPolicy(Qt::NoFocus);
    label_MasterMode = MakeLabel(info, "label_MasterMode", 180, 300, 101, 20);

    QMetaObject::connectSlotsByName(dialog);
}
