// The board's edit menu in the main window: cut, copy and paste on the
// window's own clipboard, delete, select all, reset and the stacking order,
// on objects drawn through the pointer primitives.
#include <QtTest>

#include <QAction>

#include "app/ui/dialog.h"
#include "tests/support/board_window.h"
#include "tests/support/debug_log.h"

class EditMenuTest : public BoardWindowTest
{
    Q_OBJECT

    EventDetail& Detail(int slot, quint16 id) { return *board->m_board.slot[slot].records.findDetail(id); }
    EventMaster& Master(int slot, quint16 id) { return *board->m_board.slot[slot].records.findMaster(id); }

    // The objects named are the selection, as a pick leaves it.
    void Select(const QStringList& keys)
    {
        board->ClearSelection();
        for (const QString& key : keys) {
            const ObjectRef ref = FindObjectByKey(board->m_board, key);
            if (ref.found())
                ref.detail->Selected = 1;
        }
        board->m_select_id_str = keys;
    }

    // The twelve edit actions' states, Cut first, as 0 and 1.
    QString EditStates()
    {
        if (board->m_editActions.isEmpty())
            board->CreateMenus();
        QString s;
        for (const QAction* a : qAsConst(board->m_editActions))
            s += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

    QVector<QPointF> SamplePoints(const QVector<FreePenPoint>& samples)
    {
        QVector<QPointF> points;
        for (const FreePenPoint& p : samples)
            points << p.M;
        return points;
    }

    QVector<QPointF> FullListPoints(int slot, quint16 id)
    {
        QVector<FreePenPoint> samples;
        for (const FreePenPoint& p : qAsConst(board->m_board.slot[slot].allPoints))
            if (p.EventID == id)
                samples << p;
        return SamplePoints(samples);
    }

    static QVector<QPointF> Shifted(const QVector<QPointF>& points, double d)
    {
        QVector<QPointF> out;
        for (const QPointF& p : points)
            out << p + QPointF(d, d);
        return out;
    }

    QVector<quint16> MasterOrder(int slot)
    {
        QVector<quint16> ids;
        for (const EventMaster& em : board->m_board.slot[slot].records.masters())
            ids << em.EventID;
        return ids;
    }

    QVector<quint16> DetailOrder(int slot)
    {
        QVector<quint16> ids;
        for (const EventDetail& ed : board->m_board.slot[slot].records.details())
            ids << ed.EventID;
        return ids;
    }

private slots:
    // Each paste of one copy lands 10 pixels further right and down, as an
    // unselected object that a redraw without the selection still paints;
    // a new copy starts again at 10.
    void pastesStepAwayFromTheCopy()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        const EventDetail original = Detail(0, 0);
        Select({"0-0"});
        board->OptMenuCopy();
        QVERIFY(board->m_select_id_str.isEmpty());
        for (int n = 1; n <= 3; ++n) {
            board->OptMenuPaste();
            const EventDetail& pasted = Detail(0, quint16(n));
            const int d = 10 * n;
            QCOMPARE(pasted.BoundRF, original.BoundRF.translated(d, d));
            QCOMPARE(pasted.OriginRF, original.OriginRF.translated(d, d));
            QCOMPARE(pasted.M, original.M + QPointF(d, d));
            QCOMPARE(pasted.C, original.C + QPointF(d, d));
            QCOMPARE(pasted.S, original.S + QPointF(d, d));
            QCOMPARE(int(pasted.Selected), 0);
            QCOMPARE(Master(0, quint16(n)).Kind, int(ekRect));
            // One step of one creation per paste.
            QCOMPARE(board->m_undo.URList.last().Kind, int(URKindAdd));
            QCOMPARE(board->m_undo.URList.last().StepSize, 1);
        }
        QVERIFY(board->m_select_id_str.isEmpty());
        Select({"0-2"});
        board->OptMenuCopy();
        board->OptMenuPaste();
        QCOMPARE(Detail(0, 4).BoundRF, original.BoundRF.translated(30, 30));

        // Painted when the selection is left out of a redraw, too.
        board->RedrawPageObjects(false);
        const QRect last = Detail(0, 4).BoundRF;
        QCOMPARE(board->m_canvasImage.pixelColor(last.x() + last.width(), last.center().y()), QColor(Qt::black));
    }

    // A copied object of another slot pastes into slot 0 under slot 0's next
    // EventID and keeps its own slot in its slot field.
    void otherSlotPastesIntoSlotZero()
    {
        Draw(0, ekLine, QPoint(50, 50), QPoint(150, 50));
        Draw(3, ekEllipse, QPoint(300, 300), QPoint(400, 380));
        Select({"3-0"});
        board->OptMenuCopy();
        board->OptMenuPaste();
        QCOMPARE(board->m_board.slot[3].records.masters().size(), 1);
        QCOMPARE(board->m_board.slot[0].records.masters().size(), 2);
        const EventMaster& pasted = Master(0, 1);
        QCOMPARE(pasted.Kind, int(ekEllipse));
        QCOMPARE(int(pasted.Slot), 3);
        QCOMPARE(pasted.NoteName, board->m_curr_note.create_data);
        QCOMPARE(board->m_undo.URList.last().Slot, 0);
        QCOMPARE(int(board->m_undo.URList.last().EventID), 1);
    }

    // A cut is one step of delete entries, erase kind 2 and the group
    // rectangle on the last event when it takes several objects, kind 0 and
    // no group alone; one undo brings them all back.
    void cutIsOneDeletionStep_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }

    void cutIsOneDeletionStep()
    {
        QFETCH(int, count);
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        Draw(0, ekRect, QPoint(300, 200), QPoint(400, 260));
        Draw(2, ekLine, QPoint(150, 300), QPoint(250, 400));
        const QStringList all{"0-0", "0-1", "2-0"};
        const QStringList keys = all.mid(0, count);
        board->m_bRecording = true;
        board->m_rec_time.start();
        const int entries = board->m_undo.URList.size();
        Select(keys);
        board->OptMenuCut();
        board->m_bRecording = false;

        QCOMPARE(board->m_undo.URList.size(), entries + count);
        QVector<ErasePoint> events;
        int left = 10000, top = 10000, right = -1, bottom = -1;
        for (int i = 0; i < count; ++i) {
            const UndoRedo& e = board->m_undo.URList[entries + i];
            QCOMPARE(e.Kind, int(URKindDelete));
            QCOMPARE(e.StepPlace, i + 1);
            QCOMPARE(e.StepSize, count);
            QCOMPARE(e.EraseKind, count > 1 ? 2 : 0);
            const ObjectRef ref = FindObjectByKey(board->m_board, keys[i]);
            QVERIFY(ref.detail->Deleted);
            for (const ErasePoint& ep : qAsConst(board->m_board.slot[ref.slot].erasePoints))
                if (ep.EventID == ref.detail->EventID)
                    events << ep;
            const QRect r = ref.detail->BoundRF;
            left = qMin(left, r.left());
            top = qMin(top, r.top());
            right = qMax(right, r.x() + r.width());
            bottom = qMax(bottom, r.y() + r.height());
        }
        QCOMPARE(events.size(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(events[i].GroupIndex, i + 1);
            QCOMPARE(events[i].GroupTotal, count);
            const QRect expected =
                count > 1 && i == count - 1 ? QRect(left, top, right - left, bottom - top) : QRect(-1, -1, -1, -1);
            QCOMPARE(events[i].GroupRect, expected);
        }
        QCOMPARE(board->m_board.clipboard.masters.size(), count);

        board->OptUndo();
        for (const QString& key : keys)
            QVERIFY(!FindObjectByKey(board->m_board, key).detail->Deleted);
    }

    // After a cut the menu offers only Paste, after a copy Paste and All.
    void menuAfterCutAndCopy()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        QCOMPARE(EditStates(), QString("000000000000"));
        Select({"0-0"});
        board->OptMenuCopy();
        QCOMPARE(EditStates(), QString("001010000000"));
        board->OptMenuPaste();
        Select({"0-1"});
        board->OptMenuCut();
        QCOMPARE(EditStates(), QString("001000000000"));
    }

    // A copy with nothing selected keeps the clipboard and the paste count.
    void copyWithoutSelectionChangesNothing()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        Draw(0, ekLine, QPoint(300, 300), QPoint(400, 300));
        Select({"0-0"});
        board->OptMenuCopy();
        board->OptMenuPaste();
        board->ClearSelection();
        board->OptMenuCopy();
        QCOMPARE(board->m_board.clipboard.masters.size(), 1);
        QCOMPARE(board->m_board.clipboard.masters.first().Kind, int(ekRect));
        QCOMPARE(board->PasteCount, 1);
        board->OptMenuPaste();
        QCOMPARE(Detail(0, 3).BoundRF, Detail(0, 0).BoundRF.translated(20, 20));
    }

    // A key that names nothing takes no clipboard place: every stroke
    // pastes with its own samples, in FreePenMap and in slot 0's full list,
    // also once the copied keys name other strokes (another project).
    void strokesPasteWithTheirOwnSamples()
    {
        const QVector<QPointF> a{{100, 100}, {120, 110}, {140, 100}};
        const QVector<QPointF> b{{300, 300}, {310, 340}, {320, 380}, {330, 390}};
        AddStroke(0, a, QRect(100, 100, 40, 10));
        AddStroke(0, b, QRect(300, 300, 30, 90));
        Select({"0-0", "5-99", "0-1"});
        board->OptMenuCopy();
        QCOMPARE(board->m_board.clipboard.ClipboardKeys, QStringList({"0-0", "0-1"}));
        board->m_board.FreePenMap["0-0"] = board->m_board.FreePenMap["0-1"];

        board->OptMenuPaste();
        QCOMPARE(SamplePoints(board->m_board.FreePenMap.value("0-2")), Shifted(a, 10));
        QCOMPARE(SamplePoints(board->m_board.FreePenMap.value("0-3")), Shifted(b, 10));
        QCOMPARE(FullListPoints(0, 2), Shifted(a, 10));
        QCOMPARE(FullListPoints(0, 3), Shifted(b, 10));
        for (const FreePenPoint& p : board->m_board.FreePenMap.value("0-3"))
            QCOMPARE(int(p.EventID), 3);

        // A full reset empties the clipboard: a paste then adds nothing.
        board->m_board.Init();
        board->OptMenuPaste();
        QVERIFY(board->m_board.slot[0].records.masters().isEmpty());
    }

    // Select all picks every visible object of the note, one reaching past
    // the canvas too, but nothing deleted, and switches to the select tool.
    void selectAllPicksTheNote()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        QCOMPARE(EditStates(), QString("000000000000"));
        Draw(2, ekLine, QPoint(700, 300), QPoint(board->width() + 200, 300));
        Draw(0, ekLine, QPoint(300, 400), QPoint(400, 400));
        Select({"0-1"});
        board->OptMenuDelete();
        board->OptMenuAll();
        QCOMPARE(board->m_select_id_str, QStringList({"0-0", "2-0"}));
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekSelect));
        QCOMPARE(EditStates(), QString("110101111001"));
    }

    // Delete takes the selection away as one step and leaves the clipboard.
    void deleteIsOneStep()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        Draw(1, ekRect, QPoint(300, 100), QPoint(400, 150));
        Select({"0-0"});
        board->OptMenuCopy();
        const int entries = board->m_undo.URList.size();
        Select({"0-0", "1-0"});
        board->OptMenuDelete();
        QCOMPARE(board->m_undo.URList.size(), entries + 2);
        QCOMPARE(board->m_undo.URList.last().StepSize, 2);
        QCOMPARE(board->m_undo.URStepCount, entries + 1);
        QVERIFY(Detail(0, 0).Deleted && Detail(1, 0).Deleted);
        QVERIFY(board->m_select_id_str.isEmpty());
        QCOMPARE(board->m_board.clipboard.masters.size(), 1);
        QCOMPARE(board->m_undo.URList.last().EraseKind, 2);
    }

    // Reset puts one selected object back to the geometry it was made with,
    // as one undo step; nothing to put back, or two objects, make none.
    void resetPutsBackTheMadeGeometry()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        Draw(0, ekRect, QPoint(300, 100), QPoint(400, 150));
        const int entries = board->m_undo.URList.size();
        Select({"0-0"});
        board->OptMenuReset();
        QCOMPARE(board->m_undo.URList.size(), entries);
        QVERIFY(board->m_select_id_str.isEmpty());

        EventDetail& ed = Detail(0, 0);
        const EventDetail made = ed;
        ed.Angle = 30.f;
        ed.BoundRF.translate(40, 20);
        ed.M += QPointF(40, 20);
        ed.C += QPointF(40, 20);
        const EventDetail turned = ed;
        Select({"0-0", "0-1"});
        board->OptMenuReset();
        QCOMPARE(board->m_undo.URList.size(), entries);
        QCOMPARE(Detail(0, 0).Angle, 30.f);
        QVERIFY(board->m_select_id_str.isEmpty());

        Select({"0-0"});
        board->OptMenuReset();
        QCOMPARE(Detail(0, 0).BoundRF, made.OriginRF);
        QCOMPARE(Detail(0, 0).M, made.S);
        QCOMPARE(Detail(0, 0).C, made.E);
        QCOMPARE(Detail(0, 0).Angle, 0.f);
        QCOMPARE(board->m_undo.URList.size(), entries + 1);
        QCOMPARE(board->m_undo.URList.last().Kind, int(URKindResize));
        QCOMPARE(board->m_undo.URList.last().StepSize, 1);

        board->OptUndo();
        QCOMPARE(Detail(0, 0).BoundRF, turned.BoundRF);
        QCOMPARE(Detail(0, 0).Angle, 30.f);
        QCOMPARE(Detail(0, 0).M, turned.M);
    }

    // A reset stroke has its samples back where they were drawn, in the map
    // and in the full list the project save writes.
    void resetStrokeWritesBothSampleLists()
    {
        const QVector<QPointF> drawn{{100, 100}, {120, 110}, {140, 100}};
        const quint16 id = AddStroke(0, drawn, QRect(100, 100, 40, 10));
        for (FreePenPoint& p : board->m_board.FreePenMap["0-0"])
            p.M += QPointF(50, 60);
        for (FreePenPoint& p : board->m_board.slot[0].allPoints)
            p.M += QPointF(50, 60);
        Detail(0, id).BoundRF.translate(50, 60);
        Select({"0-0"});
        board->OptMenuReset();
        QCOMPARE(SamplePoints(board->m_board.FreePenMap.value("0-0")), drawn);
        QCOMPARE(FullListPoints(0, id), drawn);
    }

    // The stacking commands move the selected object's records within its
    // slot, master and detail alike, and refuse at the end they move to.
    void stackingOrder_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QVector<quint16>>("order");
        QTest::addColumn<bool>("keepsSelection");
        using Order = QVector<quint16>;
        QTest::newRow("forward to the top") << "OptMenuForward" << 0 << Order{1, 2, 0} << false;
        QTest::newRow("forward refused on top") << "OptMenuForward" << 2 << Order{0, 1, 2} << true;
        QTest::newRow("backward to the bottom") << "OptMenuBackward" << 2 << Order{2, 0, 1} << false;
        QTest::newRow("backward refused at bottom") << "OptMenuBackward" << 0 << Order{0, 1, 2} << true;
        QTest::newRow("to front one up") << "OptMenutoFront" << 0 << Order{1, 0, 2} << false;
        QTest::newRow("to front refused on top") << "OptMenutoFront" << 2 << Order{0, 1, 2} << true;
        QTest::newRow("to back one down") << "OptMenutoBack" << 2 << Order{0, 2, 1} << false;
        QTest::newRow("to back refused at bottom") << "OptMenutoBack" << 0 << Order{0, 1, 2} << true;
    }

    void stackingOrder()
    {
        QFETCH(QString, command);
        QFETCH(int, selected);
        QFETCH(QVector<quint16>, order);
        QFETCH(bool, keepsSelection);
        const QColor colours[3] = {Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < 3; ++i) {
            board->m_board.slot[0].pen.setColor(colours[i]);
            Draw(0, ekFillRect, QPoint(100 + 40 * i, 100), QPoint(250 + 40 * i, 200));
        }
        const int entries = board->m_undo.URList.size();
        Select({MakeObjectKey(0, selected)});
        QVERIFY(QMetaObject::invokeMethod(board, command.toLatin1().constData()));
        QCOMPARE(MasterOrder(0), order);
        QCOMPARE(DetailOrder(0), order);
        QCOMPARE(board->m_select_id_str.size(), keepsSelection ? 1 : 0);
        QCOMPARE(board->m_undo.URList.size(), entries);
        // The object on top is painted over the others where they overlap.
        board->RedrawPageObjects(true);
        QCOMPARE(board->m_canvasImage.pixelColor(190, 150).rgb(), colours[order.last()].rgb());
    }

    // Twice one place up moves an object two places; a slot of one record,
    // or a selection of two, changes nothing.
    void stackingEdges()
    {
        for (int i = 0; i < 3; ++i)
            Draw(0, ekRect, QPoint(100 + 40 * i, 100), QPoint(250 + 40 * i, 200));
        Draw(4, ekRect, QPoint(500, 100), QPoint(550, 200));
        Select({"0-0"});
        board->OptMenutoFront();
        Select({"0-0"});
        board->OptMenutoFront();
        QCOMPARE(MasterOrder(0), QVector<quint16>({1, 2, 0}));
        QCOMPARE(DetailOrder(0), QVector<quint16>({1, 2, 0}));

        g_log.clear();
        QtMessageHandler previous = qInstallMessageHandler(CollectLog);
        Select({"4-0"});
        board->OptMenuForward();
        Select({"0-1", "0-2"});
        board->OptMenuBackward();
        qInstallMessageHandler(previous);
        QVERIFY(g_log.contains("exe : EMList 0"));
        QCOMPARE(MasterOrder(0), QVector<quint16>({1, 2, 0}));
        QVERIFY(board->m_select_id_str.isEmpty());
    }

    // Group and ungroup only say that they were asked.
    void groupAndUngroupChangeNothing()
    {
        Draw(0, ekRect, QPoint(100, 100), QPoint(200, 150));
        Draw(0, ekRect, QPoint(300, 100), QPoint(400, 150));
        Select({"0-0", "0-1"});
        const int entries = board->m_undo.URList.size();
        g_log.clear();
        QtMessageHandler previous = qInstallMessageHandler(CollectLog);
        board->OptMenuGroup();
        board->OptMenuUngroup();
        qInstallMessageHandler(previous);
        QVERIFY(g_log.contains("exe : OptMenuGroup"));
        QVERIFY(g_log.contains("exe : OptMenuUngroup"));
        QCOMPARE(board->m_select_id_str, QStringList({"0-0", "0-1"}));
        QCOMPARE(board->m_undo.URList.size(), entries);
        QCOMPARE(MasterOrder(0), QVector<quint16>({0, 1}));
    }
};

QTEST_MAIN(EditMenuTest)
#include "edit_menu_test.moc"
