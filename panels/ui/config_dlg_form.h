#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTextEdit;
class QToolButton;
class QWidget;

// The settings dialog's form: every widget with its object name, place and
// fixed properties. Captions that come from the language file are left empty
// here; ConfigDlg::SetLanguageText sets them. Texts written here are the
// form's own and are never replaced.
class Ui_ConfigDlg
{
public:
    QTabWidget* tabwidget = nullptr;
    QPushButton* keybtn = nullptr;
    QPushButton* Btn_Init = nullptr;
    QPushButton* okbtn = nullptr;
    QPushButton* cancelbtn = nullptr;

    // Page 0: folders.
    QWidget* folder = nullptr;
    QGroupBox* folder_group = nullptr;
    QLabel* folder_txt = nullptr;
    QLineEdit* folder_edit = nullptr;
    QPushButton* folder_pathbtn = nullptr;
    QGroupBox* folder_group2 = nullptr;
    QLabel* rec_SavePathL = nullptr;
    QLineEdit* rec_SavePathE = nullptr;
    QToolButton* rec_SavePathT = nullptr;

    // Page 1: pen widths, rows 1..4 at index 0..3.
    QWidget* pen = nullptr;
    QGroupBox* pen_group = nullptr;
    QLabel* pen_label_width[4] = {};
    QTextEdit* pen_text_width[4] = {};
    QToolButton* pen_left_width[4] = {};
    QToolButton* pen_right_width[4] = {};

    // Page 2: note background and logo.
    QWidget* note = nullptr;
    QGroupBox* note_group = nullptr;
    QLabel* note_colortxt = nullptr;
    QComboBox* note_colorcombo = nullptr;
    QFrame* line1 = nullptr;
    QLabel* note_bgtxt = nullptr;
    QLineEdit* note_bgedit = nullptr;
    QPushButton* note_bgbtn = nullptr;
    QPushButton* note_bgdel = nullptr;
    QLabel* note_bgtrans_txt = nullptr;
    QSlider* note_bgslider = nullptr;
    QLabel* note_txt1 = nullptr;
    QLabel* note_txt2 = nullptr;
    QLabel* note_bgtrans_val = nullptr;
    QLabel* note_logotxt = nullptr;
    QLineEdit* note_logoedit = nullptr;
    QPushButton* note_logobtn = nullptr;
    QPushButton* note_logodel = nullptr;
    QLabel* note_logotrans_txt = nullptr;
    QSlider* note_logoslider = nullptr;
    QLabel* note_txt1_2 = nullptr;
    QLabel* note_txt2_2 = nullptr;
    QLabel* note_logotrans_val = nullptr;

    // Page 3: dual display.
    QWidget* dual = nullptr;
    QGroupBox* dual_group = nullptr;
    QCheckBox* dual_check = nullptr;
    QLabel* dual_txt = nullptr;

    // Page 4: recording.
    QWidget* rec = nullptr;
    QGroupBox* rec_group = nullptr;
    QLabel* rec_typeL = nullptr;
    QComboBox* rec_typeC = nullptr;
    QPushButton* rec_InitB = nullptr;
    QCheckBox* rec_FileNameC = nullptr;
    QCheckBox* rec_DialogC = nullptr;
    QLabel* rec_camdeviceL = nullptr;
    QComboBox* rec_camdeviceC = nullptr;
    QLabel* rec_viewlocationL = nullptr;
    QComboBox* rec_viewlocationC = nullptr;
    QLabel* rec_ratioL = nullptr;
    QComboBox* rec_ratioC = nullptr;
    QLabel* rec_presetL = nullptr;
    QComboBox* rec_presetC = nullptr;
    QLabel* rec_videoqualityL = nullptr;
    QComboBox* rec_videoqualityC = nullptr;
    QLabel* rec_videoframerateL = nullptr;
    QComboBox* rec_videoframerateC = nullptr;
    QLabel* rec_audiodeviceL = nullptr;
    QComboBox* rec_audiodeviceC = nullptr;
    QLabel* rec_audioqualityL = nullptr;
    QComboBox* rec_audioqualityC = nullptr;
    QLabel* rec_bitrateL = nullptr;
    QComboBox* rec_bitrateC = nullptr;
    QLabel* rec_screenpresetL = nullptr;
    QComboBox* rec_screenpresetC = nullptr;
    QLabel* rec_screenqualityL = nullptr;
    QComboBox* rec_screenqualityC = nullptr;
    QLabel* rec_screenframerateL = nullptr;
    QComboBox* rec_screenframerateC = nullptr;
    QFrame* line1_2 = nullptr;
    QFrame* line1_3 = nullptr;
    QFrame* line1_4 = nullptr;

    // Page 5: lecture upload.
    QWidget* Upload_contents = nullptr;
    QGroupBox* upload_groupBox = nullptr;
    QLabel* upload_label_Server = nullptr;
    QLineEdit* upload_lineEditID_Server = nullptr;
    QLabel* upload_label_Port = nullptr;
    QLineEdit* upload_lineEditID_Port = nullptr;

    // Page 6: volume.
    QWidget* tab = nullptr;
    QGroupBox* Volume_GroupBox = nullptr;
    QLabel* Sound_Volume_label = nullptr;
    QSlider* horizontalSlider_Sound = nullptr;
    QLabel* label_spkValue = nullptr;
    QLabel* Mic_Volume_label = nullptr;
    QSlider* horizontalSlider_Mic = nullptr;
    QLabel* label_micValue = nullptr;

    // Page 7: options and language.
    QWidget* opt = nullptr;
    QGroupBox* opt_group1 = nullptr;
    QCheckBox* opt_clearcheck = nullptr;
    QLabel* opt_clearlabel = nullptr;
    QCheckBox* opt_cursorcheck = nullptr;
    QLabel* opt_cursorlabel = nullptr;
    QGroupBox* opt_group2 = nullptr;
    QCheckBox* opt_toolpos_save = nullptr;
    QLabel* opt_toolposlabel = nullptr;
    QGroupBox* opt_group3 = nullptr;
    QComboBox* opt_langcombo = nullptr;
    QLabel* opt_txt = nullptr;

    // Page 8: information.
    QWidget* info = nullptr;
    QFrame* info_frame = nullptr;
    QLabel* info_verson = nullptr;
    QLabel* info_website = nullptr;
    QPushButton* info_updatebtn = nullptr;
    QLabel* label_MasterMode = nullptr;

    // Builds every widget on `dialog` and connects the on_<name>_<signal>
    // slots of the dialog by object name.
    void setupUi(QDialog* dialog);
};

namespace Ui {
class ConfigDlg : public Ui_ConfigDlg
{
};
}  // namespace Ui
