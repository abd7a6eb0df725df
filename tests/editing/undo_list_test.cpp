#include <QtTest>

#include "editing/undo_list.h"

namespace {

// One step of `size` entries for objects id, id+1, ...
void AddStep(UndoList& list, int firstId, int size = 1, int kind = URKindAdd)
{
    for (int place = 1; place <= size; ++place) {
        EventDetail ed;
        ed.EventID = quint16(firstId + place - 1);
        list.Insert(MakeUndoEntry(kind, 0, 3, "note", EventMaster(), ed, ErasePoint(), PreData(), place,
                                  size, QPoint()));
    }
}

// Step numbers run from 0 without gaps, entries of a step stand together.
void CheckSteps(const UndoList& list)
{
    int expectedStep = 0;
    int place = 0;
    for (const UndoRedo& e : list.URList) {
        ++place;
        QCOMPARE(e.Step, expectedStep);
        QCOMPARE(e.StepPlace, place);
        if (place == e.StepSize) {
            ++expectedStep;
            place = 0;
        }
    }
}

}  // namespace

class UndoListTest : public QObject
{
    Q_OBJECT

private slots:
    void entryFields()
    {
        EventMaster em;
        em.StrData = 7;
        EventDetail ed;
        ed.EventID = 12;
        ed.M = QPointF(1, 2);
        ed.C = QPointF(3, 4);
        ed.BoundRF = QRect(1, 2, 3, 4);
        ed.Angle = 30.f;
        ed.Deleted = 1;
        ErasePoint ep;
        ep.EraseKind = 2;
        PreData pd;
        pd.M = QPointF(9, 9);
        pd.BoundRF = QRect(5, 5, 5, 5);
        pd.Angle = 10.f;
        const UndoRedo e = MakeUndoEntry(URKindRotate, 4, 14, "n1", em, ed, ep, pd, 2, 3, QPoint(6, 7));
        QCOMPARE(e.Kind, int(URKindRotate));
        QCOMPARE(e.EditKind, 27);
        QCOMPARE(e.Slot, 4);
        QCOMPARE(e.Tool, 14);
        QCOMPARE(e.NoteName, QString("n1"));
        QCOMPARE(e.EraseKind, 2);
        QCOMPARE(e.EventID, quint16(12));
        QCOMPARE(e.BeforeM, QPointF(9, 9));
        QCOMPARE(e.BeforeBoundRF, QRect(5, 5, 5, 5));
        QCOMPARE(e.BeforeAngle, 10.f);
        QCOMPARE(e.AfterC, QPointF(3, 4));
        QCOMPARE(e.AfterAngle, 30.f);
        QCOMPARE(e.StrData, quint16(7));
        QCOMPARE(e.Deleted, quint8(1));
        QCOMPARE(e.Offset, QPoint(6, 7));
        QCOMPARE(UndoEditKind(URKindAdd), 0);
        QCOMPARE(UndoEditKind(URKindDelete), 0);
        QCOMPARE(UndoEditKind(URKindMove), 25);
        QCOMPARE(UndoEditKind(URKindResize), 26);
    }

    void fiftyStepCap()
    {
        UndoList list;
        for (int i = 0; i < 51; ++i)
            AddStep(list, i);
        QCOMPARE(list.URList.size(), 50);
        QCOMPARE(list.URStepCount, 50);
        QCOMPARE(list.URIndex, 49);
        QCOMPARE(list.URList.first().EventID, quint16(1));
        QCOMPARE(list.URList.last().EventID, quint16(50));
        QCOMPARE(list.URList.last().Step, 49);
        CheckSteps(list);
    }

    void multiEntryStepWhenFull()
    {
        UndoList list;
        AddStep(list, 0, 2);
        for (int i = 1; i < 50; ++i)
            AddStep(list, 100 + i);
        QCOMPARE(list.URStepCount, 50);
        AddStep(list, 500, 3);
        // The oldest (two-entry) step went with the first entry of the new one.
        QCOMPARE(list.URStepCount, 50);
        QCOMPARE(list.URList.size(), 49 + 3);
        QCOMPARE(list.URList.first().EventID, quint16(101));
        CheckSteps(list);
    }

    void incompleteStepDoesNotCount()
    {
        UndoList list;
        EventDetail ed;
        list.Insert(MakeUndoEntry(URKindMove, 0, 25, "", EventMaster(), ed, ErasePoint(), PreData(), 1, 2, QPoint()));
        QCOMPARE(list.URStepCount, 0);
        list.Insert(MakeUndoEntry(URKindMove, 0, 25, "", EventMaster(), ed, ErasePoint(), PreData(), 2, 2, QPoint()));
        QCOMPARE(list.URStepCount, 1);
        QCOMPARE(list.URList[1].Step, 0);
    }

    void newActionDropsUndoneSteps()
    {
        UndoList list;
        for (int i = 0; i < 5; ++i)
            AddStep(list, i);
        list.URIndex -= 2;  // two steps undone
        AddStep(list, 99);
        QCOMPARE(list.URList.size(), 4);
        QCOMPARE(list.URList.last().EventID, quint16(99));
        QCOMPARE(list.URList.last().Step, 3);
        QCOMPARE(list.URStepCount, 4);
        QVERIFY(!list.CanRedo());
        QVERIFY(list.CanUndo());
        CheckSteps(list);
    }

    void undoneMultiEntryStepDropped()
    {
        UndoList list;
        AddStep(list, 0);
        AddStep(list, 10, 3);
        list.URIndex = 0;  // the three-entry step undone
        AddStep(list, 99);
        QCOMPARE(list.URList.size(), 2);
        QCOMPARE(list.URStepCount, 2);
        CheckSteps(list);
    }

    void everythingUndoneEmptiesList_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("few") << 4;
        QTest::newRow("full") << 50;
    }

    void everythingUndoneEmptiesList()
    {
        QFETCH(int, steps);
        UndoList list;
        for (int i = 0; i < steps; ++i)
            AddStep(list, i);
        list.URIndex = -1;
        AddStep(list, 77);
        QCOMPARE(list.URList.size(), 1);
        QCOMPARE(list.URList.first().Step, 0);
        QCOMPARE(list.URIndex, 0);
        QCOMPARE(list.URStepCount, 1);
    }

    void fullListNewestUndone()
    {
        UndoList list;
        for (int i = 0; i < 50; ++i)
            AddStep(list, i);
        list.URIndex -= 1;
        AddStep(list, 99);
        QCOMPARE(list.URStepCount, 49);
        QCOMPARE(list.URList.size(), 49);
        QCOMPARE(list.URList.first().EventID, quint16(1));
        QCOMPARE(list.URList.last().EventID, quint16(99));
        CheckSteps(list);
    }

    void clearResets()
    {
        UndoList list;
        AddStep(list, 1);
        list.Clear();
        QVERIFY(list.URList.isEmpty());
        QCOMPARE(list.URIndex, 0);
        QCOMPARE(list.URStepCount, 0);
        QVERIFY(!list.CanUndo());
        QVERIFY(!list.CanRedo());
    }
};

QTEST_GUILESS_MAIN(UndoListTest)
#include "undo_list_test.moc"
