#include <QtTest>

#include "board/event_kind.h"
#include "board/smart_figure.h"

using Corners = std::vector<cv::Point>;
Q_DECLARE_METATYPE(Corners)

namespace {

const cv::Point kFirst(100, 100);
const cv::Point kRelease(300, 104);
const cv::Rect kBox(90, 80, 221, 151);  // x 90..310, y 80..230

const Corners k2{{100, 100}, {300, 104}};
// Longest side 200 = whole-pixel distance from first to release point.
const Corners k3Fits{{100, 100}, {200, 110}, {300, 100}};
const Corners k3Misfits{{100, 100}, {200, 160}, {320, 100}};
const Corners k4{{100, 100}, {98, 230}, {310, 228}, {306, 82}};
const Corners k5{{100, 100}, {98, 230}, {310, 228}, {315, 232}, {306, 82}};
const Corners k6{{100, 100}, {98, 230}, {200, 231}, {310, 228}, {306, 82}, {200, 80}};

}  // namespace

class SmartFigureTest : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Corners>("corners");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<bool>("redraw");
        const QPoint none;
        const QPoint first(kFirst.x, kFirst.y);
        const QPoint boxStart(90, 80), boxEnd(311, 231);

        QTest::newRow("line 2") << "RightToLeftLine2" << k2 << int(ekLine) << QPoint(100, 100) << QPoint(300, 104) << true;
        QTest::newRow("line 3 fits") << "RightToLeftLine2" << k3Fits << int(ekLine) << first << QPoint(300, 104) << true;
        QTest::newRow("line 3 misfits") << "RightToLeftLine2" << k3Misfits << 0 << none << none << false;
        QTest::newRow("line 4") << "RightToLeftLine2" << k4 << 0 << none << none << true;
        QTest::newRow("line 5") << "RightToLeftLine2" << k5 << 0 << none << none << true;
        QTest::newRow("line 6") << "RightToLeftLine2" << k6 << 0 << none << none << true;

        const char* rects[] = {"Rectangle", "RectangleReverse", "VRectangle", "VRectangleReverse", "HRectangle",
                               "HRectangleReverse"};
        for (const char* r : rects) {
            const QString n(r);
            QTest::newRow(qPrintable(n + " 2")) << n << k2 << 0 << none << none << true;
            QTest::newRow(qPrintable(n + " 3")) << n << k3Fits << 0 << none << none << true;
            QTest::newRow(qPrintable(n + " 4")) << n << k4 << int(ekRect) << first << QPoint(310, 228) << true;
            QTest::newRow(qPrintable(n + " 5")) << n << k5 << int(ekRect) << first << QPoint(315, 232) << true;
            QTest::newRow(qPrintable(n + " 6")) << n << k6 << 0 << none << none << true;
        }
        const std::pair<const char*, Corners> anyCount[] = {
            {"2", k2}, {"3", k3Misfits}, {"4", k4}, {"5", k5}, {"6", k6}};
        for (const auto& [count, corners] : anyCount) {
            for (const char* c : {"Circle", "CircleReverse"})
                QTest::newRow(qPrintable(QString("%1 %2").arg(c, count)))
                    << QString(c) << corners << int(ekEllipse) << boxStart << boxEnd << true;
            for (const char* other : {"Triangle", "TriangleReverse", "Unknown", "circle", ""})
                QTest::newRow(qPrintable(QString("'%1' %2").arg(other, count)))
                    << QString(other) << corners << 0 << none << none << true;
        }
    }

    void choice()
    {
        QFETCH(QString, name);
        QFETCH(Corners, corners);
        QFETCH(int, kind);
        QFETCH(QPoint, start);
        QFETCH(QPoint, end);
        QFETCH(bool, redraw);
        const SmartFigure f = ChooseSmartFigure(name.toStdString(), corners, kFirst, kRelease, kBox);
        QCOMPARE(f.kind, kind);
        QCOMPARE(f.redraw, redraw);
        if (kind != 0) {
            QCOMPARE(QPoint(f.start.x, f.start.y), start);
            QCOMPARE(QPoint(f.end.x, f.end.y), end);
        }
    }

    // Distances are cut to whole pixels before they are compared: equally far
    // corners keep the earlier one, and so do corners a fraction farther.
    void farCornerTies_data()
    {
        QTest::addColumn<Corners>("corners");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("exact tie") << Corners{{0, 0}, {0, 50}, {30, 40}, {0, -50}} << QPoint(0, 50);
        QTest::newRow("tie after cut") << Corners{{50, 0}, {0, 0}, {35, 36}, {1, 1}} << QPoint(50, 0);  // 50 and 50.2
        QTest::newRow("later farther") << Corners{{50, 0}, {0, 0}, {37, 36}, {1, 1}} << QPoint(37, 36);  // 51.6
        QTest::newRow("all at the start") << Corners{{0, 0}, {0, 0}, {0, 0}, {0, 0}} << QPoint(0, 0);
    }

    void farCornerTies()
    {
        QFETCH(Corners, corners);
        QFETCH(QPoint, end);
        const SmartFigure f = ChooseSmartFigure("Rectangle", corners, cv::Point(0, 0), cv::Point(0, 0), cv::Rect());
        QCOMPARE(f.kind, int(ekRect));
        QCOMPARE(QPoint(f.end.x, f.end.y), end);
    }

    // The box counts both edge pixels; a drawn square outline gives four
    // corners; one point gives one corner and a one-pixel box.
    void measure()
    {
        std::vector<cv::Point> square;
        for (int i = 0; i <= 100; i += 5)
            square.emplace_back(10, 20 + i);
        for (int i = 0; i <= 100; i += 5)
            square.emplace_back(10 + i, 120);
        for (int i = 0; i <= 100; i += 5)
            square.emplace_back(110, 120 - i);
        for (int i = 0; i <= 95; i += 5)
            square.emplace_back(110 - i, 20);
        const SmartStrokeShape shape = MeasureSmartStroke(square);
        QCOMPARE(int(shape.corners.size()), 4);
        QCOMPARE(shape.box, cv::Rect(10, 20, 101, 101));

        const SmartStrokeShape dot = MeasureSmartStroke({cv::Point(7, 8)});
        QCOMPARE(int(dot.corners.size()), 1);
        QCOMPARE(dot.box, cv::Rect(7, 8, 1, 1));
        QVERIFY(MeasureSmartStroke({}).corners.empty());
    }
};

QTEST_GUILESS_MAIN(SmartFigureTest)
#include "smart_figure_test.moc"
