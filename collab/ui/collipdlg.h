#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// A band across the middle of the main window with this machine's session
// address in large letters, so that a host can tell participants where to
// connect.
class CollIpDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CollIpDlg(QWidget* parent = nullptr);

    // Shows the address and sizes the label, the button and their fonts for
    // a main window of the given size; the dialog's own geometry is set first.
    void SetText(const QString& address, int width, int height);

    // The form, by object name.
    QLabel* label_IP = nullptr;
    QPushButton* Btn_Close = nullptr;

public slots:
    void on_Btn_Close_clicked();
};
