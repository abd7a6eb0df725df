#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class UpdateLanguage;

// What the main window hands to the question and notice dialogs.
struct UpdateDialogRecord
{
    const UpdateLanguage* language = nullptr;
    QString caption;
    QString currentVersion;
    QString newVersion;
};

// Window flags of the updater's windows: no system frame, hence no close button.
constexpr Qt::WindowFlags kUpdaterWindowFlags =
    Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowTitleHint;

// The question: Yes, Background, or Later with a choice of when to ask again.
// It cannot be closed by keys or by the window manager, only by its buttons
// (which the main window answers by hiding it).
class AskDlg : public QDialog
{
    Q_OBJECT
public:
    AskDlg(QWidget* parent, const UpdateDialogRecord& record);

    QLabel* labelProduct = nullptr;
    QLabel* labelFound = nullptr;
    QLabel* labelCurrent = nullptr;
    QLabel* labelUpdated = nullptr;
    QLabel* labelAsk = nullptr;
    QLabel* labelDescYes = nullptr;
    QLabel* labelDescLater = nullptr;
    QLabel* labelDescBackground = nullptr;
    QComboBox* comboBoxLater = nullptr;
    QPushButton* pushButtonYes = nullptr;
    QPushButton* pushButtonLater = nullptr;
    QPushButton* pushButtonBackground = nullptr;

signals:
    void AskClicked(int action, int laterChoice);

private slots:
    void on_pushButtonYes_clicked();
    void on_pushButtonBackground_clicked();
    void on_pushButtonLater_clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupForm();
    UpdateDialogRecord m_record;
};

// The notice: an archive downloaded in the background will now be installed.
class NotifyDlg : public QDialog
{
    Q_OBJECT
public:
    NotifyDlg(QWidget* parent, const UpdateDialogRecord& record);

    QLabel* labelCurrent = nullptr;
    QLabel* labelProduct = nullptr;
    QLabel* labelUpdated = nullptr;
    QLabel* labelFound = nullptr;
    QLabel* labelAsk = nullptr;
    QPushButton* pushButtonOK = nullptr;

signals:
    void NotifyClicked();

private slots:
    void on_pushButtonOK_clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupForm();
    UpdateDialogRecord m_record;
};

// Shared by the three windows: the form's font family.
void applyFormFont(QWidget* window);
