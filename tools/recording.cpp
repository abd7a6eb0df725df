#include "tools/recording.h"

#include "board/board_model.h"
#include "storage/settings_file.h"

#include <QSet>

#include <cmath>

namespace tools {

namespace {

// The text between a line's first and second double quote.
QString QuotedName(const QString& line)
{
    const int open = line.indexOf(QLatin1Char('"'));
    if (open < 0)
        return QString();
    const int close = line.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0)
        return QString();
    return line.mid(open + 1, close - open - 1);
}

}  // namespace

DeviceLists ParseDeviceInfo(const QByteArray& utf8)
{
    enum class Section { None, Cameras, Microphones, Done };
    DeviceLists lists;
    Section section = Section::None;
    for (const QString& line : QString::fromUtf8(utf8).split(QLatin1Char('\n'))) {
        switch (section) {
        case Section::None:
            if (line.contains(QLatin1String("DirectShow video devices")))
                section = Section::Cameras;
            break;
        case Section::Cameras:
            if (line.contains(QLatin1String("DirectShow audio devices")))
                section = Section::Microphones;
            else if (!line.contains(QLatin1String("Alternative name"))
                     && !line.contains(QLatin1String("screen-capture-recorder"))) {
                const QString name = QuotedName(line);
                if (!name.isEmpty())
                    lists.cameras << name;
            }
            break;
        case Section::Microphones:
            if (line.contains(QLatin1String("dummy: Immediate exit requested")))
                section = Section::Done;
            else if (!line.contains(QLatin1String("Alternative name"))) {
                const QString name = QuotedName(line);
                if (!name.isEmpty())
                    lists.microphones << name;
            }
            break;
        case Section::Done:
            return lists;
        }
    }
    return lists;
}

QString VideoSizeForRatio(int ratio)
{
    switch (ratio) {
    case 0:
        return QStringLiteral("320x240");
    case 1:
        return QStringLiteral("640x480");
    case 2:
        return QStringLiteral("1280x720");
    case 3:
        return QStringLiteral("1920x1080");
    default:
        return QString();
    }
}

CaptureSettings RecorderSettings(const RecordingRequest& request, const ConfigInfomation& config)
{
    CaptureSettings settings;
    settings.folder = request.workFolder;
    if (settings.folder.endsWith(QLatin1Char('/')) || settings.folder.endsWith(QLatin1Char('\\')))
        settings.folder.chop(1);
    settings.audioQuality = config.AudioQuality;
    settings.audioBitRate = config.AudioBitRate;
    switch (request.type) {
    case 0:
        settings.fileName = request.recordName + QStringLiteral(".mp4");
        settings.camera = request.camera;
        settings.microphone = request.microphone;
        settings.size = VideoSizeForRatio(config.VideoRatio);
        settings.mode = config.VideoRatio == 2 || config.VideoRatio == 3 ? 0 : 3;
        settings.videoQuality = config.VideoQuality;
        settings.videoFrameRate = config.VideoFrameRate;
        break;
    case 1:
        settings.fileName = request.recordName + QStringLiteral(".mp3");
        settings.microphone = request.microphone;
        settings.mode = 0;
        break;
    default:
        settings.fileName = request.recordName + QStringLiteral(".mp4");
        settings.microphone = request.microphone.isEmpty() ? QStringLiteral("none") : request.microphone;
        settings.size = QStringLiteral("%1x%2").arg(request.screenWidth).arg(request.screenHeight);
        settings.mode = 2;
        settings.videoQuality = config.ScreenQuality;
        settings.videoFrameRate = config.ScreenFrameRate;
        break;
    }
    return settings;
}

bool FindProgressTime(const QString& line, QString* progressText)
{
    static const QString key = QStringLiteral("time=");
    const int at = line.lastIndexOf(key);
    if (at <= 0)
        return false;
    if (progressText)
        *progressText = line.mid(at + key.size(), 11);
    return true;
}

qint64 ProgressOffsetMs(const QString& progressText)
{
    bool ok = false;
    const double seconds = progressText.mid(6, 5).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0)
        return 0;
    return static_cast<qint64>(seconds * 1000.0);
}

void PrepareRecordingTimeline(BoardModel& board)
{
    for (PointerSlotState& slot : board.slot) {
        QSet<quint16> deleted;
        for (EventDetail& ed : slot.records.editDetails()) {
            ed.AltSX = ed.M.x();
            ed.AltSY = ed.M.y();
            ed.AltEX = ed.C.x();
            ed.AltEY = ed.C.y();
            ed.AltRect = ed.BoundRF;
            // The export writes this as the object's turn in whole degrees.
            ed.ExportAngle = static_cast<int>(ed.Angle);
            ed.PageDeleted = 0;
            ed.Modified = 0;
            if (ed.Deleted)
                deleted.insert(ed.EventID);
        }
        for (EventMaster& em : slot.records.editMasters())
            em.MediaPos = deleted.contains(em.EventID) ? -2.0 : -1.0;
        slot.erasePoints.clear();
        slot.modifyPoints.clear();
        for (FreePenPoint& sample : slot.allPoints) {
            sample.MediaPos = deleted.contains(sample.EventID) ? -2.0 : -1.0;
            sample.S = sample.M;
        }
    }
}

}  // namespace tools
