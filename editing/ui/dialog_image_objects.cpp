// Pictures put on the page as image objects: clip art, a chosen picture file,
// or a picture the host sent. Each is kept as a PNG of its board size in the
// work folder and listed in the media list, and becomes an object like any
// other.
#include <QDebug>
#include <QFileInfo>
#include <QImage>

#include "app/ui/dialog.h"
#include "app/ui/message_box.h"
#include "board/picture_file.h"
#include "collab/file_transfer.h"
#include "editing/image_objects.h"
#include "storage/note_export.h"

void Dialog::InsertImageObject(QString path, int select, QString text)
{
    // A viewer or writer keeps what the host sends in the document folder,
    // under the host's name, at the size of its own board.
    const bool fromHost = m_collUserLevel == 1 || m_collUserLevel == 2;
    const bool quiet = fromHost || m_placingPeerPicture;
    const int slot = fromHost ? kMouseOverflowSlot : m_mouseSlot;
    if (!IsValidPointerSlot(slot))
        return;
    const QString title = m_lang.hint.value(957 - 900);

    const PictureRead read = ReadPicture(path);
    const QImage& image = read.image;
    if (image.isNull()) {
        qDebug().noquote() << QStringLiteral("exe : picture cannot be read: %1").arg(read.error);
        if (!quiet)
            ui::WarningBox(this, title, QStringLiteral("The picture could not be read:\n%1").arg(read.error));
        return;
    }
    const QSize source = fromHost ? HostImageSize(image.size(), Coll_HostScale()) : image.size();
    const QSize target = ImageObjectSize(source, size());
    const QImage scaled = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const QString stamp = MakeTimeStampId();
    const QString file = fromHost
        ? ReceivedImagePath(coll::DocumentFolder(m_workFolder), text, stamp)
        : QStringLiteral("%1Obj_image%2.png").arg(m_workFolder, stamp);
    // A received picture that needs no scaling already lies where it is kept:
    // leave the host's bytes as they came.
    const bool keptAsReceived = fromHost && target == image.size()
        && QFileInfo(path).absoluteFilePath() == QFileInfo(file).absoluteFilePath();
    if (!keptAsReceived && !storage::WriteNoteImage(scaled, file, QStringLiteral(".png"))) {
        qDebug().noquote() << QStringLiteral("exe : picture not saved: %1").arg(file);
        if (!quiet)
            ui::WarningBox(this, title, m_lang.messages.value(137 - 100));
        return;
    }
    m_mediaFiles.append(file);

    const int w = target.width();
    const int h = target.height();
    QPoint topLeft(width() / 2 - w / 2, height() / 2 - h / 2);
    if (m_dropPositionPending) {
        topLeft = QPoint(m_dropPosition.x() - w / 2, m_dropPosition.y() - h / 2);
        m_dropPositionPending = false;
    }
    PointerSlotState& s = m_board.slot[slot];
    // The receiver sets only slot 0's tool; a picture is always an image.
    s.event_kind = ekImage;
    s.anchor = topLeft;
    s.current = topLeft + QPoint(w, h);
    const int objectsBefore = s.records.masters().size();
    CreateObjectEvent(slot, m_mediaFiles.size() - 1);
    if (s.records.masters().size() > objectsBefore)
        ShowPageLayerRect(PaintObjectIntoLayer(slot, s.records.masters().last()));

    UseSelectToolAfterImage();
    if (select == 1)
        SelectObjectAtPoint(topLeft.x(), topLeft.y(), topLeft.x() + w, topLeft.y() + h, false);
    if (m_collUserLevel == 3)
        Coll_Send_Doc(0, QString(), 3, file, QFileInfo(file).completeBaseName());
}
