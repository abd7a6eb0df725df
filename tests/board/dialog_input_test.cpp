#include <QtTest>

#include <QMimeData>
#include <QScrollBar>
#include <QTouchDevice>

#include "app/ui/dialog.h"
#include "tests/support/board_window.h"
#include "ui_dialog.h"

#include <memory>

// Touch, tablet, wheel and drop input reaching the board by the slot rule of
// the user level.
class DialogInputTest : public BoardWindowTest
{
    Q_OBJECT

    QTouchDevice* device = QTest::createTouchDevice();

    int Objects(int slot) const { return board->m_board.slot[slot].records.masters().size(); }

    // One finger per point: pressed at `from`, moved, released.
    void TouchStroke(const QVector<QPoint>& starts)
    {
        auto press = QTest::touchEvent(board, device);
        for (int i = 0; i < starts.size(); ++i)
            press.press(i, starts[i], board);
        press.commit();
        for (int step = 1; step <= 5; ++step) {
            auto move = QTest::touchEvent(board, device);
            for (int i = 0; i < starts.size(); ++i)
                move.move(i, starts[i] + QPoint(step * 20, 0), board);
            move.commit();
        }
        auto release = QTest::touchEvent(board, device);
        for (int i = 0; i < starts.size(); ++i)
            release.release(i, starts[i] + QPoint(100, 0), board);
        release.commit();
    }

    static QVector<QPoint> Fingers(int count)
    {
        QVector<QPoint> points;
        for (int i = 0; i < count; ++i)
            points.append(QPoint(60 + (i % 4) * 150, 60 + (i / 4) * 180));
        return points;
    }

private slots:
    void touchesTakeSlotsByLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("fingers");
        QTest::addColumn<int>("touchSlotObjects");  // one object per finger in slots 0..9
        QTest::addColumn<int>("sharedSlotObjects");  // objects in slot 10
        QTest::newRow("alone, two fingers") << 0 << 2 << 2 << 0;
        QTest::newRow("host, ten fingers") << 3 << 10 << 10 << 0;
        QTest::newRow("writer shares slot 10") << 2 << 2 << 0 << 1;
        QTest::newRow("viewer draws nothing") << 1 << 2 << 0 << 0;
    }

    void touchesTakeSlotsByLevel()
    {
        QFETCH(int, level);
        QFETCH(int, fingers);
        QFETCH(int, touchSlotObjects);
        QFETCH(int, sharedSlotObjects);
        board->m_collUserLevel = level;
        TouchStroke(Fingers(fingers));
        int inTouchSlots = 0;
        for (int slot = 0; slot < 10; ++slot) {
            QVERIFY(Objects(slot) <= 1);
            inTouchSlots += Objects(slot);
            QVERIFY(!board->m_touchSlots[slot].used);
        }
        QCOMPARE(inTouchSlots, touchSlotObjects);
        QCOMPARE(Objects(kMouseOverflowSlot), sharedSlotObjects);
    }

    void elevenFingersClaimTenSlotsAndFreeThemAll()
    {
        const QVector<QPoint> starts = Fingers(11);
        auto press = QTest::touchEvent(board, device);
        for (int i = 0; i < starts.size(); ++i)
            press.press(i, starts[i], board);
        press.commit();
        int claimed = 0;
        for (int slot = 0; slot < 10; ++slot)
            claimed += board->m_touchSlots[slot].used ? 1 : 0;
        QCOMPARE(claimed, 10);

        auto release = QTest::touchEvent(board, device);
        for (int i = 0; i < starts.size(); ++i)
            release.release(i, starts[i], board);
        release.commit();
        for (int slot = 0; slot < 10; ++slot)
            QVERIFY(!board->m_touchSlots[slot].used);
    }

    void touchesOnControlsOrWithASelectionDoNotDraw()
    {
        board->ui->verticalScrollBar->setGeometry(770, 0, 30, 600);
        board->ui->verticalScrollBar->show();
        TouchStroke({QPoint(775, 300)});
        QCOMPARE(Objects(0), 0);
        board->ui->verticalScrollBar->hide();

        board->m_select_id_str = QStringList{"0-0"};
        TouchStroke({QPoint(200, 450)});
        QCOMPARE(Objects(0), 0);
        board->m_select_id_str.clear();

        // The main bar takes its own touches, shown or not.
        TouchStroke({QPoint(board->ui->mainbar->geometry().center())});
        QCOMPARE(Objects(0), 0);

        TouchStroke({QPoint(200, 450)});
        QCOMPARE(Objects(0), 1);
    }

    void pressBesideAnOpenRowClosesIt()
    {
        board->m_subButtonRowOpen = true;
        board->m_subButtonRowRect = QRect(QPoint(600, 500), QPoint(450, 400));  // either corner order
        // A touch on the row is the row's, not the board's.
        TouchStroke({QPoint(500, 450)});
        QCOMPARE(Objects(0), 0);
        QVERIFY(board->m_subButtonRowOpen);

        TouchStroke({QPoint(100, 450)});
        QVERIFY(!board->m_subButtonRowOpen);
        QCOMPARE(Objects(0), 1);

        board->m_subButtonRowOpen = true;
        QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, QPoint(520, 200));
        QVERIFY(!board->m_subButtonRowOpen);
    }

    void wheelDoesNothing()
    {
        QWheelEvent wheel(QPointF(200, 200), board->mapToGlobal(QPoint(200, 200)), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(board, &wheel);
        QCOMPARE(board->m_zoom, 1.0);
        QCOMPARE(board->ui->verticalScrollBar->value(), 0);
    }

    void tabletDrawsOnlyInProximityAndDropsWholePixels()
    {
        auto tablet = [&](QEvent::Type type, QPointF pos, qreal pressure, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
            QTabletEvent event(type, pos, board->mapToGlobal(pos.toPoint()), QTabletEvent::Stylus,
                               QTabletEvent::Pen, pressure, 0, 0, 0, 0, 0, Qt::NoModifier, 1, button, buttons);
            QApplication::sendEvent(board, &event);
            return event.isAccepted();
        };
        // Out of proximity a pen press draws nothing.
        tablet(QEvent::TabletPress, QPointF(100.5, 100.5), 0.8, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(board->m_board.slot[0].pressed, false);

        board->m_tabletPenInUse = true;
        tablet(QEvent::TabletPress, QPointF(100.5, 100.5), 0.8, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(board->m_board.slot[0].pressed);
        tablet(QEvent::TabletMove, QPointF(150.0, 100.5), 0.8, Qt::NoButton, Qt::LeftButton);  // whole pixel
        QCOMPARE(board->m_board.slot[0].current, QPoint(100, 100));
        tablet(QEvent::TabletMove, QPointF(150.4, 120.6), 0.05, Qt::NoButton, Qt::LeftButton);  // too light
        QCOMPARE(board->m_board.slot[0].current, QPoint(100, 100));
        tablet(QEvent::TabletMove, QPointF(150.4, 120.6), 0.8, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(board->m_board.slot[0].current, QPoint(150, 121));
        QCOMPARE(board->m_prevTabletPressure, 0.8);
        tablet(QEvent::TabletRelease, QPointF(200.5, 120.5), 0.0, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(Objects(0), 1);

        // The mouse is ignored while the pen is near.
        QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        QCOMPARE(Objects(0), 1);
    }

    // A pen stroke drawn light then hard keeps its widths when the page is
    // drawn again from its records.
    void pressureWidthsSurviveARedraw()
    {
        board->m_specialPen.baseWidth = 24;
        board->m_antialiasing = false;
        board->m_tabletPenInUse = true;
        auto tablet = [&](QEvent::Type type, QPointF pos, qreal pressure, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
            QTabletEvent event(type, pos, board->mapToGlobal(pos.toPoint()), QTabletEvent::Stylus,
                               QTabletEvent::Pen, pressure, 0, 0, 0, 0, 0, Qt::NoModifier, 1, button, buttons);
            QApplication::sendEvent(board, &event);
        };
        QVERIFY(!board->ui->mainbar->geometry().intersects(QRect(100, 60, 500, 100)));
        tablet(QEvent::TabletPress, QPointF(100.5, 110.5), 0.2, Qt::LeftButton, Qt::LeftButton);
        for (int x = 110; x <= 600; x += 10)
            tablet(QEvent::TabletMove, QPointF(x + 0.5, 110.5), x < 350 ? 0.2 : 1.0, Qt::NoButton, Qt::LeftButton);
        tablet(QEvent::TabletRelease, QPointF(600.5, 110.5), 0.0, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(Objects(0), 1);

        // Ink rows in one column of the stroke.
        auto thickness = [&](int x) {
            const QImage image = board->m_viewImage;
            int rows = 0;
            for (int y = 70; y < 150; ++y)
                rows += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            return rows;
        };
        const int lightDrawn = thickness(200);
        const int hardDrawn = thickness(500);
        QVERIFY2(hardDrawn >= lightDrawn + 10, qPrintable(QStringLiteral("%1 %2").arg(lightDrawn).arg(hardDrawn)));

        board->RedrawPageObjects(false);
        QVERIFY(qAbs(thickness(200) - lightDrawn) <= 2);
        QVERIFY2(qAbs(thickness(500) - hardDrawn) <= 2,
                 qPrintable(QStringLiteral("%1 then %2").arg(hardDrawn).arg(thickness(500))));
    }

    void onlyOwnDragFormatIsDropped()
    {
        QTemporaryDir dir;
        QImage picture(20, 20, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString path = dir.filePath("clip.png");
        QVERIFY(picture.save(path));

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enterFiles(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &enterFiles);
        QVERIFY(!enterFiles.isAccepted());
        QDropEvent dropFiles(QPointF(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &dropFiles);
        QVERIFY(!board->m_dropPositionPending);

        QByteArray data;
        QDataStream out(&data, QIODevice::WriteOnly);
        out << QPixmap::fromImage(picture) << path;
        QMimeData item;
        item.setData("listwidget", data);
        QDragEnterEvent enter(QPoint(70, 80), Qt::CopyAction | Qt::MoveAction, &item, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(QPoint(70, 80), Qt::CopyAction | Qt::MoveAction, &item, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &move);
        QVERIFY(move.isAccepted());
        QCOMPARE(move.dropAction(), Qt::MoveAction);
        QDropEvent drop(QPointF(70, 80), Qt::CopyAction | Qt::MoveAction, &item, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(board->m_dropPosition, QPoint(70, 80));
        // The picture lies centred on the drop point as an image object,
        // and the select tool is on to move it.
        QVERIFY(!board->m_dropPositionPending);
        const auto& masters = board->m_board.slot[0].records.masters();
        QVERIFY(!masters.isEmpty());
        QCOMPARE(masters.last().Kind, int(ekImage));
        QCOMPARE(board->m_board.slot[0].records.details().last().BoundRF.topLeft(), QPoint(60, 70));
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekSelect));
    }
};

QTEST_MAIN(DialogInputTest)
#include "dialog_input_test.moc"
