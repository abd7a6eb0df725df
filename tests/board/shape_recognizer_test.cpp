#include <QtTest>

#include <cmath>
#include <cstdio>
#include <unistd.h>

#include "board/shape_recognizer.h"

namespace {

// Runs the call with standard output sent to a file and returns what it wrote.
template <typename Call>
QByteArray CapturedStdout(Call call)
{
    QTemporaryFile file;
    if (!file.open())
        return "cannot capture";
    std::fflush(stdout);
    const int saved = dup(fileno(stdout));
    dup2(file.handle(), fileno(stdout));
    call();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    file.seek(0);
    return file.readAll();
}

ShapeStroke Reversed(ShapeStroke s)
{
    std::reverse(s.begin(), s.end());
    return s;
}

ShapeStroke Shifted(ShapeStroke s, double dx, double dy, double scale)
{
    for (ShapePoint& p : s)
        p = ShapePoint{p.x * scale + dx, p.y * scale + dy};
    return s;
}

}  // namespace

Q_DECLARE_METATYPE(ShapeStroke)

class ShapeRecognizerTest : public QObject
{
    Q_OBJECT

    ShapeRecognizer loaded;

private slots:
    void initTestCase()
    {
        loaded.LoadTemplates();
    }

    void elevenTemplatesOfFullLength()
    {
        QCOMPARE(int(loaded.templates().size()), 11);
        const char* names[] = {"Circle", "CircleReverse", "Rectangle", "RectangleReverse", "VRectangle",
                               "VRectangleReverse", "HRectangle", "HRectangleReverse", "RightToLeftLine2",
                               "Triangle", "TriangleReverse"};
        for (int i = 0; i < 11; ++i) {
            QCOMPARE(QString::fromStdString(loaded.templates()[i].name), QString(names[i]));
            QCOMPARE(int(loaded.templates()[i].points.size()), 128);
        }
    }

    // The hand-drawn samples keep the size, ends and extent they were drawn with.
    void samples_data()
    {
        QTest::addColumn<ShapeStroke>("sample");
        QTest::addColumn<int>("count");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<QRect>("bounds");  // left, top, right, bottom as x, y, width, height
        QTest::newRow("circle") << ShapeRecognizer::CircleSample() << 44 << QPoint(127, 141) << QPoint(126, 139)
                                << QRect(82, 129, 182, 224);
        QTest::newRow("square") << ShapeRecognizer::SquareSample() << 82 << QPoint(78, 149) << QPoint(76, 133)
                                << QRect(76, 128, 201, 239);
        QTest::newRow("tall") << ShapeRecognizer::TallRectangleSample() << 207 << QPoint(123, 45)
                              << QPoint(127, 49) << QRect(120, 45, 208, 359);
        QTest::newRow("wide") << ShapeRecognizer::WideRectangleSample() << 214 << QPoint(20, 175)
                              << QPoint(13, 180) << QRect(13, 175, 405, 254);
        QTest::newRow("zigzag") << ShapeRecognizer::ZigzagLineSample() << 30 << QPoint(200, 160)
                                << QPoint(70, 170) << QRect(70, 160, 200, 170);
        QTest::newRow("triangle") << ShapeRecognizer::TriangleSample() << 66 << QPoint(137, 139)
                                  << QPoint(136, 148) << QRect(60, 139, 206, 239);
    }

    void samples()
    {
        QFETCH(ShapeStroke, sample);
        QFETCH(int, count);
        QFETCH(QPoint, start);
        QFETCH(QPoint, end);
        QFETCH(QRect, bounds);
        QCOMPARE(int(sample.size()), count);
        QCOMPARE(QPoint(int(sample.front().x), int(sample.front().y)), start);
        QCOMPARE(QPoint(int(sample.back().x), int(sample.back().y)), end);
        double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
        for (const ShapePoint& p : sample) {
            l = std::min(l, p.x);
            t = std::min(t, p.y);
            r = std::max(r, p.x);
            b = std::max(b, p.y);
        }
        QCOMPARE(QRect(int(l), int(t), int(r), int(b)), bounds);
    }

    // Every sample is named after itself, either way round, also moved and
    // scaled; the sample itself matches almost perfectly.
    void recognise_data()
    {
        QTest::addColumn<ShapeStroke>("stroke");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minScore");
        QTest::newRow("circle") << ShapeRecognizer::CircleSample() << "Circle" << 0.99;
        QTest::newRow("circle reversed") << Reversed(ShapeRecognizer::CircleSample()) << "CircleReverse" << 0.99;
        QTest::newRow("circle moved, doubled") << Shifted(ShapeRecognizer::CircleSample(), 400, 120, 2.0)
                                               << "Circle" << 0.95;
        QTest::newRow("square") << ShapeRecognizer::SquareSample() << "Rectangle" << 0.99;
        QTest::newRow("square reversed") << Reversed(ShapeRecognizer::SquareSample()) << "RectangleReverse" << 0.99;
        QTest::newRow("tall") << ShapeRecognizer::TallRectangleSample() << "VRectangle" << 0.99;
        QTest::newRow("wide reversed") << Reversed(ShapeRecognizer::WideRectangleSample()) << "HRectangleReverse"
                                       << 0.99;
        QTest::newRow("zigzag") << ShapeRecognizer::ZigzagLineSample() << "RightToLeftLine2" << 0.99;
        QTest::newRow("triangle") << ShapeRecognizer::TriangleSample() << "Triangle" << 0.99;
        QTest::newRow("triangle reversed") << Reversed(ShapeRecognizer::TriangleSample()) << "TriangleReverse"
                                           << 0.99;
    }

    void recognise()
    {
        QFETCH(ShapeStroke, stroke);
        QFETCH(QString, name);
        QFETCH(double, minScore);
        const ShapeMatch match = loaded.Recognize(stroke);
        QCOMPARE(QString::fromStdString(match.name), name);
        QVERIFY2(match.score >= minScore && match.score <= 1.0 + 1e-9, qPrintable(QString::number(match.score)));
    }

    // Strokes with no height, no width or a single point are still compared,
    // never divided by zero.
    void degenerateStrokesScoreFinite_data()
    {
        QTest::addColumn<ShapeStroke>("stroke");
        QTest::newRow("horizontal") << ShapeStroke{{10, 50}, {60, 50}, {200, 50}, {340, 50}};
        QTest::newRow("vertical") << ShapeStroke{{70, 400}, {70, 300}, {70, 90}};
        QTest::newRow("single point") << ShapeStroke{{33, 44}};
    }

    void degenerateStrokesScoreFinite()
    {
        QFETCH(ShapeStroke, stroke);
        QByteArray printed;
        ShapeMatch match;
        printed = CapturedStdout([&] { match = loaded.Recognize(stroke); });
        QVERIFY(std::isfinite(match.score));
        QVERIFY(match.name != "Unknown");
        QVERIFY(printed.isEmpty());
    }

    // A stroke without length has no distance to anything.
    void messages_data()
    {
        QTest::addColumn<bool>("withTemplates");
        QTest::addColumn<ShapeStroke>("stroke");
        QTest::addColumn<double>("score");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("coincident points") << true << ShapeStroke{{5, 5}, {5, 5}, {5, 5}} << 1.0
                                           << QByteArray("Couldn't find a good match.\n");
        QTest::newRow("no points") << true << ShapeStroke{} << 1.0 << QByteArray("Couldn't find a good match.\n");
        QTest::newRow("no templates") << false << ShapeRecognizer::CircleSample() << 0.0
                                      << QByteArray("No templates loaded so no symbols to match.\n");
    }

    void messages()
    {
        QFETCH(bool, withTemplates);
        QFETCH(ShapeStroke, stroke);
        QFETCH(double, score);
        QFETCH(QByteArray, message);
        ShapeRecognizer fresh;
        const ShapeRecognizer& recognizer = withTemplates ? loaded : fresh;
        ShapeMatch match;
        const QByteArray printed = CapturedStdout([&] { match = recognizer.Recognize(stroke); });
        QCOMPARE(QString::fromStdString(match.name), QString("Unknown"));
        QCOMPARE(match.score, score);
        QCOMPARE(printed, message);
    }

    void tieKeepsEarlierTemplate()
    {
        ShapeRecognizer r;
        r.StoreTemplate("First", ShapeRecognizer::SquareSample());
        r.StoreTemplate("Second", ShapeRecognizer::SquareSample());
        QCOMPARE(QString::fromStdString(r.Recognize(ShapeRecognizer::CircleSample()).name), QString("First"));
    }

    // A template shorter than the candidate is compared over its own points
    // only, never read past its end.
    void shortTemplateNotOverread()
    {
        ShapeRecognizer r;
        r.StoreTemplate("Dot", ShapeStroke{{7, 7}});
        QCOMPARE(int(r.templates().front().points.size()), 1);
        const ShapeMatch match = r.Recognize(ShapeRecognizer::TallRectangleSample());
        QCOMPARE(QString::fromStdString(match.name), QString("Dot"));
        QVERIFY(std::isfinite(match.score));
    }
};

QTEST_GUILESS_MAIN(ShapeRecognizerTest)
#include "shape_recognizer_test.moc"
