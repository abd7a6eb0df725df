#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;
class QLabel;
class QProgressBar;

// The small borderless window shown while a long job runs: a bar and one
// line of text under it. It blocks input to its parent while shown, and
// Escape does not close it (the job would go on behind the user's back).
// Its owner drives it; it has no buttons.
class progressdlg : public QDialog
{
    Q_OBJECT

public:
    explicit progressdlg(QWidget* parent = nullptr);
    ~progressdlg() override;

    void SetText(QString text);
    void SetValue(int value);
    void SetMaximum(int maximum);

    QString text() const;
    int value() const;
    int maximum() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_label = nullptr;
};
