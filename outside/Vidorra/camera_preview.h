#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

class CaptureSession;

// The camera recording's preview: a frameless window of its own, always on
// top, titled kCameraPreviewTitle so the whiteboard can find and place it. It
// shows the newest frame the recorder sent up its pipe.
class CameraPreview : public QWidget
{
public:
    explicit CameraPreview(CaptureSession* session);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void takeNewestFrame();

    CaptureSession* m_session;
    QTimer m_poll;
    QImage m_frame;
    quint64 m_serial = 0;
};
