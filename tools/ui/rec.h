#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QStringList>

class QShowEvent;

namespace Ui {
class rec;
}

// The small dialog in which the teacher picks what to record: sound only,
// camera video or the screen. Its choice goes back to the main window as
// CallRecStart, emitted from a pool thread so the start runs queued on the
// GUI thread once the dialog has let go of the click.
class rec : public QDialog
{
    Q_OBJECT

public:
    explicit rec(QWidget* parent = nullptr);
    ~rec() override;

    // The SelRecType texts (key 1700 + n) and the Common texts (key n + 1);
    // the lists stay the main window's.
    void SetLanguageText(QStringList* selRecTypeTexts, QStringList* commonTexts);
    // Camera video needs a camera, sound a microphone; the screen is always
    // there.
    void SetButtonsEnabled(int cameraCount, int microphoneCount);
    // Selects the radio of type 0 (video), 1 (audio) or 2 (screen); any other
    // value changes nothing.
    void SetRecType(int type);

    int recType() const { return m_recType; }
    bool cameraChoiceEnabled() const;
    bool audioChoiceEnabled() const;

    // The worker's body: it only emits the choice.
    static void EmitRecStartWorker(rec* dialog, int type);

signals:
    // 0 camera video, 1 audio, 2 screen.
    void CallRecStart(int type);

public slots:
    void btnOKClick();
    void btnCancelClick();
    void CallFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Ui::rec* ui = nullptr;
    int m_recType = 0;
    QStringList* m_selRecTypeTexts = nullptr;
    QStringList* m_commonTexts = nullptr;
    QFutureWatcher<void> m_worker;
};
