// The note list window and its thumbnail list, on their own: the thumbnail
// fill, going to a page, deleting one, reordering by drag and drop, the edit
// lock of a recording, every way of closing, and the fill running while the
// pages change under it.
#include "panels/note_list.h"
#include "panels/ui/notedialog.h"
#include "panels/ui/notelist.h"
#include "storage/ui/progressdlg.h"
#include "tests/support/debug_log.h"

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QVector<QColor> kColours = {QColor(220, 30, 30), QColor(30, 170, 40), QColor(40, 60, 220),
                                  QColor(230, 200, 20), QColor(150, 40, 170)};

bool Near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

QColor CentreColour(const QIcon& icon)
{
    const QImage image = icon.pixmap(QSize(310, 270)).toImage();
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

QString Order(const QVector<NoteInfo>& records)
{
    QStringList stamps;
    for (const NoteInfo& note : records)
        stamps << note.create_data;
    return stamps.join(',');
}

}  // namespace

class NoteListTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_common{"OK", "Cancel", "Yes", "No", "Close"};
    QStringList m_noteList{"Note List", "Delete"};
    QStringList m_messages;
    QVector<NoteInfo> m_records;
    NoteDialog* m_dialog = nullptr;

    // Page images of `size`, page i (stamp "p<i+1>") in colour i mod 5.
    void MakePages(int count, QSize size = QSize(1920, 1080), const char* format = "jpg")
    {
        m_records.clear();
        QVector<QString> files;
        for (int c = 0; c < kColours.size(); ++c) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(kColours[c]);
            // A little detail, so a large picture takes its time to decode.
            for (int y = 0; y < size.height(); y += 7)
                image.setPixel((y * 13) % size.width(), y, qRgb(y % 256, 0, 0));
            const QString file = m_dir->filePath(QString("colour%1_%2.%3").arg(c).arg(size.width()).arg(format));
            QVERIFY(image.save(file));
            files << file;
        }
        for (int i = 0; i < count; ++i) {
            NoteInfo note;
            note.name = "WhiteBoard";
            note.create_data = QString("p%1").arg(i + 1);
            note.imagePath = files[i % files.size()];
            m_records << note;
        }
    }

    void Open(int current = 0, bool editable = true)
    {
        m_dialog->SetEditMode(editable);
        m_dialog->SetNoteList(&m_records, current);
        m_dialog->SetLanguageText(&m_common, &m_noteList, &m_messages);
        m_dialog->show();
        m_dialog->StartMakeThumbnails();
    }

    bool Filled()
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000) {
            QCoreApplication::processEvents();
            if (!m_dialog->FillRunning() && m_dialog->list()->count() == m_records.size())
                return true;
            QTest::qWait(5);
        }
        return false;
    }

    // Every row shows its own page: label by place, picture of its record.
    void VerifyRowsMatchRecords()
    {
        QCOMPARE(m_dialog->list()->count(), m_records.size());
        for (int row = 0; row < m_records.size(); ++row) {
            QCOMPARE(m_dialog->list()->item(row)->text(), QString("Note %1").arg(row + 1));
            QCOMPARE(m_records[row].extra, QString("Note %1").arg(row + 1));
            const int colour = m_records[row].create_data.mid(1).toInt() - 1;
            const QColor shown = CentreColour(m_dialog->list()->item(row)->icon());
            QVERIFY2(Near(shown, kColours[colour % kColours.size()]),
                     qPrintable(QString("row %1 shows %2").arg(row).arg(shown.name())));
        }
    }

    void Drop(int sourceRow, QPoint at)
    {
        notelist* list = m_dialog->list();
        QMimeData data;
        data.setData(kListWidgetFormat, list->DragPayload(list->item(sourceRow)));
        // A drop lands only after the drag was taken on entering and moving.
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &move);
        QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &drop);
    }

    QPoint RowCentre(int row) { return m_dialog->list()->visualItemRect(m_dialog->list()->item(row)).center(); }

    // Answers the next question box with `button` once it is up.
    void AnswerNextQuestion(QMessageBox::StandardButton button)
    {
        QTimer::singleShot(50, this, [button] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    box->button(button)->click();
                    return;
                }
            }
        });
    }

private slots:
    void initTestCase()
    {
        qunsetenv("DRAVIK_NO_MODAL");
        for (int key = 100; key <= 171; ++key)
            m_messages << QString("message %1").arg(key);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_dialog = new NoteDialog;
        m_dialog->InitDialog(m_dir->path() + "/work/");
    }

    void cleanup()
    {
        delete m_dialog;
        m_dialog = nullptr;
        m_dir.reset();
    }

    void recordMoves_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QString>("order");
        QTest::newRow("row 0 to row 3") << 0 << 3 << true << "p2,p3,p4,p1,p5";
        QTest::newRow("upward, row 4 to row 1") << 4 << 1 << true << "p1,p5,p2,p3,p4";
        QTest::newRow("onto itself") << 2 << 2 << false << "p1,p2,p3,p4,p5";
        QTest::newRow("empty space") << 2 << -1 << false << "p1,p2,p3,p4,p5";
        QTest::newRow("row from elsewhere") << 9 << 1 << false << "p1,p2,p3,p4,p5";
    }

    void recordMoves()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(bool, moved);
        QFETCH(QString, order);
        MakePages(5);
        QCOMPARE(MoveNoteRecord(&m_records, target, source), moved);
        QCOMPARE(Order(m_records), order);
    }

    void fillShowsEveryPage()
    {
        MakePages(5);
        Open();
        QVERIFY(m_dialog->progress()->isVisible());
        QVERIFY(Filled());
        VerifyRowsMatchRecords();
        QTRY_VERIFY(!m_dialog->progress()->isVisible());
        QVERIFY(m_dialog->deleteButton()->isEnabled());
        QCOMPARE(m_dialog->windowTitle(), QString("Note List"));
        QCOMPARE(m_dialog->closeButton()->text(), QString("Close"));
        // Written beside the work folder's pages, fitted with the aspect kept.
        for (int i = 0; i < 5; ++i) {
            const QImage thumbnail(m_dialog->thumbnailFolder() + QString("%1.jpg").arg(i));
            QCOMPARE(thumbnail.size(), QSize(310, 174));
        }
    }

    void unreadablePageStillListed()
    {
        MakePages(3);
        // A thumbnail of an earlier fill must not stand in for the lost page.
        QDir().mkpath(m_dialog->thumbnailFolder());
        QImage old(310, 174, QImage::Format_RGB32);
        old.fill(Qt::white);
        QVERIFY(old.save(m_dialog->thumbnailFolder() + "1.jpg"));
        m_records[1].imagePath = m_dir->filePath("missing.jpg");
        Open();
        QVERIFY(Filled());
        QCOMPARE(m_dialog->list()->item(1)->text(), QString("Note 2"));
        QVERIFY(m_dialog->list()->item(1)->icon().isNull());
        QVERIFY(!QFile::exists(m_dialog->thumbnailFolder() + "1.jpg"));
    }

    void dropReorders_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("dropRow");  // -1: empty space below the rows
        QTest::addColumn<QString>("order");
        QTest::newRow("first onto fourth") << 0 << 3 << "p2,p3,p4,p1,p5";
        QTest::newRow("fifth onto second") << 4 << 1 << "p1,p5,p2,p3,p4";
        QTest::newRow("onto itself") << 2 << 2 << "p1,p2,p3,p4,p5";
        QTest::newRow("onto empty space") << 1 << -1 << "p1,p2,p3,p4,p5";
    }

    void dropReorders()
    {
        QFETCH(int, source);
        QFETCH(int, dropRow);
        QFETCH(QString, order);
        MakePages(5);
        Open(0);
        QVERIFY(Filled());
        QSignalSpy selected(m_dialog, SIGNAL(SelectItem(QString)));
        const QPoint at = dropRow >= 0 ? RowCentre(dropRow) : QPoint(5, m_dialog->list()->viewport()->height() - 5);
        Drop(source, at);
        QCOMPARE(Order(m_records), order);
        VerifyRowsMatchRecords();
        const bool moved = order != "p1,p2,p3,p4,p5";
        // The board is told where its current page went.
        QCOMPARE(selected.count(), moved ? 1 : 0);
        if (moved) {
            QCOMPARE(selected.at(0).at(0).toString(), QString("p1"));
            // The files follow their pages too.
            const QImage moved(m_dialog->thumbnailFolder() + QString("%1.jpg").arg(order.split(',').indexOf("p1")));
            QVERIFY(Near(moved.pixelColor(moved.width() / 2, moved.height() / 2), kColours[0]));
        }
        QVERIFY(m_dialog->isVisible());
    }

    void payloadRoundTrip_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("row");
        QTest::newRow("note list") << "ND" << 2;
        QTest::newRow("clip art") << "CA" << 1;
    }

    void payloadRoundTrip()
    {
        QFETCH(QString, tag);
        QFETCH(int, row);
        notelist list(150, 150, tag);
        list.SetFolder("/art/Nature");
        QPixmap picture(150, 100);
        picture.fill(Qt::red);
        for (const char* name : {"Sun.png", "Tree.png", "Moon.png"})
            list.addItem(new QListWidgetItem(QIcon(picture), name));
        const QByteArray payload = list.DragPayload(list.item(row));
        QPixmap read;
        QString path;
        int readRow = -1;
        if (tag == "ND") {
            QVERIFY(ReadNoteDragPayload(payload, &read, &readRow));
            QCOMPARE(readRow, row);
            // The board takes only pictures with a path: a page dragged onto
            // it inserts nothing.
            QPixmap other;
            QVERIFY(!ReadClipArtDragPayload(payload, &other, &path) || path.isEmpty());
        } else {
            QVERIFY(ReadClipArtDragPayload(payload, &read, &path));
            QCOMPARE(path, QString("/art/Nature/Tree.png"));
        }
        QCOMPARE(read.size(), QSize(150, 100));
        QCOMPARE(read.toImage().pixelColor(10, 10), QColor(Qt::red));
        // Cut short, it is refused.
        QVERIFY(!ReadClipArtDragPayload(payload.left(payload.size() / 2), &read, &path));
    }

    void selectGoesToThePage()
    {
        MakePages(4);
        Open();
        QVERIFY(Filled());
        QSignalSpy selected(m_dialog, SIGNAL(SelectItem(QString)));
        QSignalSpy closed(m_dialog, SIGNAL(CloseDialog()));
        m_dialog->SelectItem(m_dialog->list()->item(2));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), QString("p3"));
        QCOMPARE(closed.count(), 1);
        QVERIFY(!m_dialog->isVisible());
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("order");
        QTest::newRow("yes") << int(QMessageBox::Yes) << "p1,p3,p4";
        QTest::newRow("no") << int(QMessageBox::No) << "p1,p2,p3,p4";
    }

    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QString, order);
        MakePages(4);
        Open();
        QVERIFY(Filled());
        QSignalSpy deleted(m_dialog, SIGNAL(DeleteItem(QString)));
        m_dialog->list()->setCurrentRow(1);
        AnswerNextQuestion(QMessageBox::StandardButton(answer));
        m_dialog->deleteButton()->click();
        QCOMPARE(Order(m_records), order);
        QCOMPARE(deleted.count(), answer == QMessageBox::Yes ? 1 : 0);
        if (answer == QMessageBox::Yes)
            QCOMPARE(deleted.at(0).at(0).toString(), QString("p2"));
        QVERIFY(Filled());
        VerifyRowsMatchRecords();
    }

    void onePageCannotBeDeleted()
    {
        MakePages(1);
        Open();
        QVERIFY(Filled());
        QTRY_VERIFY(!m_dialog->progress()->isVisible());
        QVERIFY(!m_dialog->deleteButton()->isEnabled());
        m_dialog->list()->setCurrentRow(0);
        m_dialog->DeleteNote();
        QCOMPARE(m_records.size(), 1);
    }

    void recordingLocksEditing()
    {
        MakePages(5);
        Open(0, false);
        QVERIFY(Filled());
        QVERIFY(!m_dialog->deleteButton()->isVisible());
        g_log.clear();
        qInstallMessageHandler(CollectLog);
        Drop(0, RowCentre(3));
        qInstallMessageHandler(nullptr);
        QCOMPARE(Order(m_records), QString("p1,p2,p3,p4,p5"));
        QVERIFY(g_log.join('\n').contains("start drag index: 0 dst drop index:  3 isRec : true"));
        // Reopened outside a recording, it edits again.
        m_dialog->NoteListClose();
        Open(0, true);
        QVERIFY(m_dialog->deleteButton()->isVisible());
    }

    void everyCloseEndsTheSameWay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close button") << "button";
        QTest::newRow("title bar") << "title";
        QTest::newRow("escape") << "escape";
    }

    void everyCloseEndsTheSameWay()
    {
        QFETCH(QString, how);
        MakePages(2);
        Open();
        QVERIFY(Filled());
        QSignalSpy closed(m_dialog, SIGNAL(CloseDialog()));
        if (how == "button")
            m_dialog->closeButton()->click();
        else if (how == "title")
            m_dialog->close();
        else
            QTest::keyClick(m_dialog, Qt::Key_Escape);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(closed.count(), 1);
        m_dialog->close();
        QCOMPARE(closed.count(), 1);
    }

    // A fill of large pages is still running when the pages change: the job
    // never reads the records, and the list ends up matching them.
    void pagesChangeDuringAFill_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("order");
        QTest::newRow("delete") << "delete" << "p1,p3,p4,p5,p6,p7,p8,p9,p10,p11,p12";
        QTest::newRow("reorder") << "reorder" << "p2,p3,p4,p1,p5,p6,p7,p8,p9,p10,p11,p12";
        QTest::newRow("second fill") << "refill" << "p1,p2,p3,p4,p5,p6,p7,p8,p9,p10,p11,p12";
    }

    void pagesChangeDuringAFill()
    {
        QFETCH(QString, change);
        QFETCH(QString, order);
        MakePages(12, QSize(3000, 2200), "png");
        Open();
        QTRY_VERIFY(m_dialog->list()->count() >= 2);
        QVERIFY2(m_dialog->FillRunning(), "the fill ended too soon to change pages under it");
        if (change == "delete") {
            m_dialog->list()->setCurrentRow(1);
            AnswerNextQuestion(QMessageBox::Yes);
            m_dialog->DeleteNote();
        } else if (change == "reorder") {
            m_dialog->sortingNote(3, 0);
        } else {
            m_dialog->StartMakeThumbnails();
        }
        QCOMPARE(Order(m_records), order);
        QVERIFY(Filled());
        // The ended job has posted all it had: a late row would show now.
        QCoreApplication::sendPostedEvents();
        VerifyRowsMatchRecords();
    }

    void closingDuringAFillDropsItsResults()
    {
        MakePages(10, QSize(3000, 2200), "png");
        auto records = std::make_unique<QVector<NoteInfo>>(m_records);
        m_dialog->SetEditMode(true);
        m_dialog->SetNoteList(records.get(), 0);
        m_dialog->show();
        m_dialog->StartMakeThumbnails();
        QTRY_VERIFY(m_dialog->list()->count() >= 1);
        QVERIFY(m_dialog->FillRunning());
        QSignalSpy closed(m_dialog, SIGNAL(CloseDialog()));
        m_dialog->NoteListClose();
        // The lent records go away with the window closed.
        records.reset();
        const int shown = m_dialog->list()->count();
        QTRY_VERIFY_WITH_TIMEOUT(!m_dialog->FillRunning(), 20000);
        // The ended job has posted all it had: a dropped row would show now.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(m_dialog->list()->count(), shown);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!m_dialog->progress()->isVisible());
    }
};

QTEST_MAIN(NoteListTest)
#include "note_list_test.moc"
