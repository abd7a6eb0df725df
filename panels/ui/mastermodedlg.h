#pragma once

#include <QDialog>

class QCloseEvent;
struct Ui_MasterModedlg;

// The hidden service dialog that switches the debug and drawing options of
// the main window. Only the access-code row shows until the code is typed.
// It keeps a copy of the five options for its labels; the main window keeps
// the live ones and gives them back each time it opens the dialog.
class MasterModedlg : public QDialog
{
    Q_OBJECT

public:
    explicit MasterModedlg(QWidget* parent = nullptr);
    ~MasterModedlg() override;

    // 340 x 60 centred on the screen: only the access-code row shows.
    void CenterOnScreen();
    void SetDebugModeState(bool on);
    void SetCollPacketState(bool on);
    void SetCursorImgState(bool on);
    void SetInterpolationState(bool on);
    void SetAntialiasingState(bool on);

signals:
    void Call_Debug(bool on);
    void Call_Coll(bool on);
    void Call_Cursor(bool on);
    void Call_Interpolation(bool on);
    void Call_Antialiasing(bool on);

private slots:
    void on_Btn_Pass_clicked();
    void on_Btn_debug_clicked();
    void on_Btn_Coll_clicked();
    void on_Btn_Cursor_clicked();
    void on_Btn_Interpolation_clicked();
    void on_Btn_Antialiasing_clicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The dialog's geometry at `height`, centred on the default screen:
    // 60 shows the code row alone, 260 the option rows too.
    void ShowRows(int height);

    Ui_MasterModedlg* ui;
    bool m_debugMode = false;
    bool m_collPacket = false;
    bool m_cursorImg = false;
    bool m_interpolation = true;
    bool m_antialiasing = true;
};

// The text that opens the option rows, compared exactly.
extern const char* const kMasterModeAccessCode;
