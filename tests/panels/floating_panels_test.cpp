// The floating launcher and the colour ring on their own: the style sheets
// they build, what they show for the board's state, what they send, and the
// window shape cut from their pictures.
#include "panels/floating_panels.h"
#include "panels/ui/floatingcolor.h"
#include "panels/ui/floatingmain.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

QStringList Hints()
{
    QStringList hints;
    for (int key = 900; key <= 978; ++key)
        hints << QStringLiteral("hint%1").arg(key);
    return hints;
}

QStringList ConfigTexts()
{
    QStringList texts;
    for (int key = 300; key <= 303; ++key)
        texts << QStringLiteral("config%1").arg(key);
    for (int key = 312; key <= 369; ++key)
        texts << QStringLiteral("config%1").arg(key);
    for (int key = 373; key <= 401; ++key)
        texts << QStringLiteral("config%1").arg(key);
    return texts;
}

const char* const kWidthButtons[] = {"btnPenWidth1", "btnPenWidth2", "btnPenWidth3", "btnPenWidth4"};

}  // namespace

class FloatingPanelsTest : public QObject
{
    Q_OBJECT

    QStringList m_hints = Hints();
    QStringList m_config = ConfigTexts();
    QStringList m_menu;
    std::unique_ptr<floatingmain> m_launcher;
    std::unique_ptr<floatingcolor> m_colour;

    QPushButton* ColourButton(const char* name) const { return m_colour->findChild<QPushButton*>(name); }
    QString Centre() const { return m_launcher->findChild<QLabel*>("imgmain")->styleSheet(); }

    QStringList CheckedButtons() const
    {
        QStringList checked;
        for (QPushButton* b : m_colour->findChildren<QPushButton*>()) {
            if (b->isChecked())
                checked << b->objectName();
        }
        checked.sort();
        return checked;
    }

private slots:
    void init()
    {
        m_launcher = std::make_unique<floatingmain>();
        m_launcher->InitDialog(&m_hints, &m_menu, 1280, 800, true);
        m_colour = std::make_unique<floatingcolor>();
        m_colour->InitDialog(&m_hints, &m_config);
    }

    void cleanup()
    {
        m_colour.reset();
        m_launcher.reset();
    }

    // --- style sheets -------------------------------------------------------

    void styleSheets_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("expected");
        QTest::newRow("launcher with a disabled face")
            << LauncherStyleSheet("FloatingColor", "f_color")
            << "QPushButton {border-image: url(:/FloatingColor/f_color);}"
               "QPushButton:pressed {border-image: url(:/FloatingColor/f_color_down);}"
               "QPushButton:hover {border-image: url(:/FloatingColor/f_color_over);}"
               "QPushButton:disabled {border-image: url(:/FloatingColor/f_color_disable);}";
        QTest::newRow("launcher mode: no disabled face")
            << LauncherStyleSheet("FloatingChange", "f_mode")
            << "QPushButton {border-image: url(:/FloatingChange/f_mode);}"
               "QPushButton:pressed {border-image: url(:/FloatingChange/f_mode_down);}"
               "QPushButton:hover {border-image: url(:/FloatingChange/f_mode_over);}";
        QTest::newRow("launcher note: no disabled face")
            << LauncherStyleSheet("FloatingNote", "f_note")
            << "QPushButton {border-image: url(:/FloatingNote/f_note);}"
               "QPushButton:pressed {border-image: url(:/FloatingNote/f_note_down);}"
               "QPushButton:hover {border-image: url(:/FloatingNote/f_note_over);}";
        QTest::newRow("sub-panel: hover, then checked")
            << SubPanelStyleSheet("FloatingColor", "f_s_red")
            << "QPushButton {border-image: url(:/FloatingColor/f_s_red);}"
               "QPushButton:hover {border-image: url(:/FloatingColor/f_s_red_down);}"
               "QPushButton:checked {border-image: url(:/FloatingColor/f_s_red_down);}";
        QTest::newRow("sub-panel with a disabled face")
            << SubPanelStyleSheet("FloatingDraw", "f_s_trans", true)
            << "QPushButton {border-image: url(:/FloatingDraw/f_s_trans);}"
               "QPushButton:hover {border-image: url(:/FloatingDraw/f_s_trans_down);}"
               "QPushButton:checked {border-image: url(:/FloatingDraw/f_s_trans_down);}"
               "QPushButton:disabled {border-image: url(:/FloatingDraw/f_s_trans_disable);}";
    }

    void styleSheets()
    {
        QFETCH(QString, sheet);
        QTEST(sheet, "expected");
    }

    // Every picture a sheet of the two panels names is in the bundle, the
    // recording button's struck-out faces and every centre picture included.
    void everyNamedPictureLoads()
    {
        floatingmain withoutCapture;
        withoutCapture.InitDialog(&m_hints, &m_menu, 1280, 800, false);
        QStringList sheets;
        for (QWidget* panel : std::initializer_list<QWidget*>{m_launcher.get(), &withoutCapture, m_colour.get()}) {
            for (QWidget* w : panel->findChildren<QWidget*>())
                sheets << w->styleSheet();
        }
        for (const QString& key : LauncherCentreKeys()) {
            for (bool transparent : {false, true}) {
                m_launcher->SetPenButtonImage(key, transparent);
                sheets << Centre();
            }
        }
        QStringList paths;
        const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
        for (const QString& sheet : sheets) {
            auto it = url.globalMatch(sheet);
            while (it.hasNext())
                paths << it.next().captured(1);
        }
        paths.removeDuplicates();
        QVERIFY(paths.size() > 80);
        for (const QString& path : paths)
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
        QVERIFY(withoutCapture.findChild<QPushButton*>("btnRec")->styleSheet().contains(":/FloatingRec/f_rec_none);"));
        QVERIFY(!withoutCapture.findChild<QPushButton*>("btnRec")->isEnabled());
        QVERIFY(m_launcher->findChild<QPushButton*>("btnRec")->isEnabled());
    }

    // --- the launcher -------------------------------------------------------

    void centrePicture_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QString>("picture");
        const struct {
            const char* key;
            const char* plain;
            const char* transparent;
        } rows[] = {
            {"ekSelEraser", "FloatingEraser/f_s_m_eraser_select", "FloatingEraser/f_s_m_eraser_select"},
            {"ekAreaEraser", "FloatingEraser/f_s_m_eraserarea", "FloatingEraser/f_s_m_eraserarea"},
            {"ekFree", "FloatingDraw/f_s_m_pen", "FloatingDraw/f_s_m_trans_freeline"},
            {"ekBrush", "FloatingDraw/f_s_m_brushpen", "FloatingDraw/f_s_m_trans_freeline"},
            {"ekLine", "FloatingDraw/f_s_m_line", "FloatingDraw/f_s_m_trans_line"},
            {"ekRect", "FloatingDraw/f_s_m_rectangle", "FloatingDraw/f_s_m_trans_rect"},
            {"ekFillRect", "FloatingDraw/f_s_m_fillrectangle", "FloatingDraw/f_s_m_trans_fillrect"},
            {"ekEllipse", "FloatingDraw/f_s_m_ellipse", "FloatingDraw/f_s_m_trans_circle"},
            {"ekFillEllipse", "FloatingDraw/f_s_m_fillellipse", "FloatingDraw/f_s_m_trans_fillcircle"},
            {"ekBArrow", "FloatingDraw/f_s_m_barrow", "FloatingDraw/f_s_m_trans_barrow"},
            {"ekEArrow", "FloatingDraw/f_s_m_Earrow", "FloatingDraw/f_s_m_trans_sarrow"},
            {"ekSmart", "FloatingDraw/f_s_m_smartfigure", "FloatingDraw/f_s_m_smartfigure"},
            {"ekMoveAll", "FloatingChange/f_s_m_MoveAll", "FloatingChange/f_s_m_MoveAll"},
            {"ekSelect", "FloatingChange/f_s_m_select_mode", "FloatingChange/f_s_m_select_mode"},
        };
        for (const auto& row : rows) {
            QTest::addRow("%s", row.key) << row.key << false << row.plain;
            QTest::addRow("%s transparent", row.key) << row.key << true << row.transparent;
        }
        // Keys outside the table, or in another case, keep what is shown.
        QTest::newRow("erase all") << "ekEraseAll" << false << "FloatingChange/f_s_m_select_mode";
        QTest::newRow("lower case") << "ekrect" << true << "FloatingChange/f_s_m_select_mode";
    }

    void centrePicture()
    {
        QFETCH(QString, key);
        QFETCH(bool, transparent);
        QFETCH(QString, picture);
        m_launcher->SetPenButtonImage("ekSelect", false);
        m_launcher->SetPenButtonImage(key, transparent);
        QCOMPARE(Centre(), QStringLiteral("border-image: url(:/%1);").arg(picture));
    }

    void centreSquareDragsAndOpensTheMenu()
    {
        QSignalSpy menu(m_launcher.get(), SIGNAL(CallOptMenuBtn()));
        QSignalSpy align(m_launcher.get(), SIGNAL(CallSubAlign(QPoint)));
        m_launcher->setGeometry(400, 300, 187, 187);
        QWidget* picture = m_launcher->findChild<QLabel*>("imgmain");

        // A right press on the centre opens the menu and starts no drag.
        QTest::mousePress(picture, Qt::RightButton, {}, QPoint(35, 35));
        QTest::mouseMove(picture, QPoint(60, 50));
        QCOMPARE(menu.count(), 1);
        QCOMPARE(align.count(), 0);
        QCOMPARE(m_launcher->pos(), QPoint(400, 300));
        QTest::mouseRelease(picture, Qt::RightButton, {}, QPoint(60, 50));

        // A left press on the ring between the buttons does nothing.
        QTest::mousePress(m_launcher.get(), Qt::LeftButton, {}, QPoint(93, 5));
        QTest::mouseMove(m_launcher.get(), QPoint(120, 30));
        QCOMPARE(align.count(), 0);
        QTest::mouseRelease(m_launcher.get(), Qt::LeftButton, {}, QPoint(120, 30));

        // A left drag from the centre moves the launcher and reports each
        // step; it may leave the screen.
        QTest::mousePress(m_launcher.get(), Qt::LeftButton, {}, QPoint(90, 90));
        QMouseEvent step(QEvent::MouseMove, QPointF(100, 80), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_launcher.get(), &step);
        QCOMPARE(m_launcher->pos(), QPoint(410, 290));
        QMouseEvent far(QEvent::MouseMove, QPointF(-400, -300), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_launcher.get(), &far);
        QCOMPARE(m_launcher->pos(), QPoint(-80, -100));
        QCOMPARE(align.count(), 2);
        QCOMPARE(align.last().at(0).toPoint(), QPoint(-80, -100));
        QTest::mouseRelease(m_launcher.get(), Qt::LeftButton, {}, QPoint(90, 90));
        QMouseEvent after(QEvent::MouseMove, QPointF(0, 0), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_launcher.get(), &after);
        QCOMPARE(align.count(), 2);
        QCOMPARE(menu.count(), 1);
    }

    void escapeKeepsTheLauncher()
    {
        m_launcher->show();
        QTest::keyClick(m_launcher.get(), Qt::Key_Escape);
        QVERIFY(m_launcher->isVisible());
    }

    // A disabled button shows its disabled face, where it has one; the
    // struck-out recording button has none and shows itself.
    void disabledFaces()
    {
        floatingmain withoutCapture;
        withoutCapture.InitDialog(&m_hints, &m_menu, 1280, 800, false);
        withoutCapture.SetPrevDisabled(true);
        withoutCapture.findChild<QPushButton*>("btnNote")->setEnabled(false);
        const struct {
            const char* button;
            const char* face;
        } rows[] = {
            {"btnRec", ":/FloatingRec/f_rec_none"},
            {"btnPrev", ":/FloatingMoveNote/f_prev_disable"},
            {"btnNote", ":/FloatingNote/f_note"},
            {"btnNext", ":/FloatingMoveNote/f_next"},
        };
        for (const auto& row : rows) {
            QPushButton* b = withoutCapture.findChild<QPushButton*>(row.button);
            const QImage shown = b->grab().toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage face = QImage(row.face).convertToFormat(QImage::Format_ARGB32);
            // Near the middle of the round face, off its symbol.
            int index = 0;
            while (qstrcmp(LauncherButtons()[index].objectName, row.button) != 0)
                ++index;
            const QPoint middle = (LauncherFaces()[index].center() - QPointF(b->pos())).toPoint() + QPoint(3, -3);
            QVERIFY2(shown.pixel(middle.x() - 12, middle.y() + 12) == face.pixel(middle.x() - 12, middle.y() + 12),
                     row.button);
        }
    }

    void buttonsOpenTheirPanels()
    {
        const struct {
            const char* button;
            const char* signal;
        } rows[] = {
            {"btnPenMode", SIGNAL(CallOptChangeDialog())}, {"btnColor", SIGNAL(CallOptColorDialog())},
            {"btnFigure", SIGNAL(CallOptFigureDialog())},  {"btnNote", SIGNAL(CallOptNoteDialog())},
            {"btnNext", SIGNAL(CallOptNext())},            {"btnZoom", SIGNAL(CallOptZoomDialog())},
            {"btnRec", SIGNAL(CallOptRecDialog())},        {"btnEraser", SIGNAL(CallOptEraserDialog())},
            {"btnPrev", SIGNAL(CallOptPrev())},
        };
        for (const auto& row : rows) {
            QSignalSpy spy(m_launcher.get(), row.signal);
            QPushButton* b = m_launcher->findChild<QPushButton*>(row.button);
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
            QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
            QVERIFY2(spy.count() == 1, row.button);
        }
        m_launcher->SetPrevDisabled(true);
        m_launcher->SetNextDisabled(true);
        QVERIFY(!m_launcher->findChild<QPushButton*>("btnPrev")->isEnabled());
        QVERIFY(!m_launcher->findChild<QPushButton*>("btnNext")->isEnabled());
        m_launcher->SetPrevDisabled(false);
        QVERIFY(m_launcher->findChild<QPushButton*>("btnPrev")->isEnabled());
        QCOMPARE(m_launcher->findChild<QPushButton*>("btnColor")->toolTip(), QStringLiteral("hint970"));
        QCOMPARE(m_launcher->windowTitle(), QStringLiteral("Floating"));
    }

    // --- the colour ring ----------------------------------------------------

    void currentColour_data()
    {
        QTest::addColumn<QString>("before");  // value shown first, or empty
        QTest::addColumn<QString>("colour");
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("presets");
        QTest::addColumn<QStringList>("checked");
        const QList<int> defaults{1, 4, 7, 10};
        QTest::newRow("red, second preset") << "" << "#ff0000" << 5 << defaults
                                            << QStringList{"btnPenWidth2", "btnRed"};
        QTest::newRow("width matching no preset") << "" << "#ff0000" << 4 << defaults << QStringList{"btnRed"};
        QTest::newRow("first and last of the ring") << "" << "#ffffff" << 2 << defaults
                                                    << QStringList{"btnPenWidth1", "btnWhite"};
        QTest::newRow("upper-case digits match nothing") << "" << "#FF0000" << 11 << defaults
                                                         << QStringList{"btnPenWidth4"};
        QTest::newRow("unknown colour keeps the last") << "#008080" << "#123456" << 8 << defaults
                                                       << QStringList{"btnPenWidth3", "btnTeal"};
        QTest::newRow("equal presets checked together") << "" << "#000000" << 5 << QList<int>{4, 4, 7, 10}
                                                        << QStringList{"btnBlack", "btnPenWidth1", "btnPenWidth2"};
    }

    void currentColour()
    {
        QFETCH(QString, before);
        QFETCH(QString, colour);
        QFETCH(int, width);
        QFETCH(QList<int>, presets);
        QSignalSpy colourSent(m_colour.get(), SIGNAL(CallOptColorChange(QString)));
        QSignalSpy widthSent(m_colour.get(), SIGNAL(CallOptPenWidthChange(int)));
        if (!before.isEmpty())
            m_colour->SetCurrentColor(before, 0, 1, 4, 7, 10);
        m_colour->SetCurrentColor(colour, width, presets[0], presets[1], presets[2], presets[3]);
        QTEST(CheckedButtons(), "checked");
        QCOMPARE(colourSent.count(), 0);
        QCOMPARE(widthSent.count(), 0);
    }

    void pressesSendTheirChoice()
    {
        QSignalSpy colourSent(m_colour.get(), SIGNAL(CallOptColorChange(QString)));
        QSignalSpy widthSent(m_colour.get(), SIGNAL(CallOptPenWidthChange(int)));
        m_colour->SetCurrentColor("#000000", 2, 1, 4, 4, 10);
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(ColourButton("btnRed"), Qt::LeftButton);
        QCOMPARE(colourSent.count(), 2);
        QCOMPARE(colourSent.at(1).at(0).toString(), QStringLiteral("red"));
        QCOMPARE(m_colour->CurrentColorName(), QStringLiteral("red"));
        // A width button sends its preset itself, and checks its twins.
        QTest::mouseClick(ColourButton("btnPenWidth3"), Qt::LeftButton);
        QCOMPARE(widthSent.count(), 1);
        QCOMPARE(widthSent.at(0).at(0).toInt(), 4);
        QCOMPARE(m_colour->CurrentPenWidth(), 4);
        QCOMPARE(CheckedButtons(), (QStringList{"btnPenWidth2", "btnPenWidth3", "btnRed"}));
        QTest::mouseClick(ColourButton("btnPenWidth4"), Qt::LeftButton);
        QCOMPARE(widthSent.at(1).at(0).toInt(), 10);
        QCOMPARE(CheckedButtons(), (QStringList{"btnPenWidth4", "btnRed"}));
        // Pressing never closes the panel.
        m_colour->show();
        QTest::mouseClick(ColourButton("btnBlue"), Qt::LeftButton);
        QVERIFY(m_colour->isVisible());
        QCOMPARE(ColourButton("btnPenWidth1")->toolTip(), QStringLiteral("config344"));
        QCOMPARE(ColourButton("btnWhite")->toolTip(), QStringLiteral("hint920"));
    }

    void hoverMarks()
    {
        QPushButton* red = ColourButton("btnRed");
        QPushButton* blue = ColourButton("btnBlue");
        QCOMPARE(m_colour->HoverButtons().size(), 20);
        QVERIFY(!m_colour->HoverButtons().contains(ColourButton("btnAutoColor")));
        QVERIFY(ColourButton("btnAutoColor")->isHidden());

        QEvent enter(QEvent::HoverEnter);
        QApplication::sendEvent(red, &enter);
        QVERIFY(red->testAttribute(Qt::WA_UnderMouse));
        QEvent move(QEvent::HoverMove);
        QApplication::sendEvent(blue, &move);
        QVERIFY(blue->testAttribute(Qt::WA_UnderMouse));
        QVERIFY(!red->testAttribute(Qt::WA_UnderMouse));

        // A press clears every mark, and still reaches its button.
        m_colour->SetHoverButton(red, true);
        QSignalSpy colourSent(m_colour.get(), SIGNAL(CallOptColorChange(QString)));
        QTest::mouseClick(blue, Qt::LeftButton);
        QCOMPARE(colourSent.count(), 1);
        for (QPushButton* b : m_colour->HoverButtons())
            QVERIFY2(!b->testAttribute(Qt::WA_UnderMouse), qPrintable(b->objectName()));

        m_colour->SetHoverButton(red, true);
        m_colour->SetHoverButton(nullptr, false);
        for (QPushButton* b : m_colour->HoverButtons())
            QVERIFY(!b->testAttribute(Qt::WA_UnderMouse));

        QCOMPARE(m_launcher->HoverButtons().size(), 9);
    }

    void placementAndLeaveRule()
    {
        m_colour->MoveTo(300, 200);
        QCOMPARE(m_colour->geometry(), QRect(273, 173, 241, 241));
        m_colour->show();
        // Leaving towards the launcher under the ring keeps the panel.
        QMouseEvent inside(QEvent::MouseMove, QPointF(120, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_colour.get(), &inside);
        QCOMPARE(m_colour->LastPointerPosition(), QPoint(120, 20));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(m_colour.get(), &leave);
        QVERIFY(m_colour->isVisible());
        // A last position beyond the panel closes it on leaving.
        QMouseEvent beyond(QEvent::MouseMove, QPointF(250, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_colour.get(), &beyond);
        QApplication::sendEvent(m_colour.get(), &leave);
        QVERIFY(!m_colour->isVisible());
    }

    // A kept place stays while the launcher and the ring of its panels lie
    // on the screen; otherwise the launcher goes to the middle of the
    // screen's right edge, ring and all on the screen.
    void launcherPlace_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("placed");
        const QRect full(0, 0, 1920, 1080);
        QTest::newRow("fits") << QPoint(400, 300) << full << QPoint(400, 300);
        QTest::newRow("ring just fits") << QPoint(27, 27) << full << QPoint(27, 27);
        QTest::newRow("first start at 0,0") << QPoint(0, 0) << full << QPoint(1698, 446);
        QTest::newRow("ring past the right edge") << QPoint(1750, 300) << full << QPoint(1698, 446);
        QTest::newRow("ring past the bottom") << QPoint(400, 900) << full << QPoint(1698, 446);
        QTest::newRow("screen shrank") << QPoint(1700, 900) << QRect(0, 0, 1280, 800) << QPoint(1058, 306);
        QTest::newRow("second screen") << QPoint(1900, 100) << QRect(1920, 0, 1280, 1024) << QPoint(2978, 418);
        QTest::newRow("screen smaller than the ring") << QPoint(50, 50) << QRect(0, 0, 200, 200) << QPoint(27, 27);
    }

    void launcherPlace()
    {
        QFETCH(QPoint, stored);
        QFETCH(QRect, screen);
        QFETCH(QPoint, placed);
        const QPoint at = LauncherPlace(stored, screen);
        QCOMPARE(at, placed);
        if (screen.width() >= kSubPanelSize && screen.height() >= kSubPanelSize)
            QVERIFY(screen.contains(QRect(at - QPoint(27, 27), QSize(kSubPanelSize, kSubPanelSize))));
    }

    // The button rectangles overlap; the drawn faces must not. Each face's
    // pixels are laid at its button's place: no pixel is covered twice, every
    // face stays inside its rectangle, off the centre square, and a press on
    // a face reaches that face's button.
    void launcherFacesDoNotOverlap()
    {
        m_launcher->show();
        const QVector<PanelButton>& specs = LauncherButtons();
        QImage covered(kLauncherSize, kLauncherSize, QImage::Format_Grayscale8);
        covered.fill(0);
        for (const PanelButton& spec : specs) {
            const QImage face = QImage(PanelPicturePath(spec.folder, spec.image)).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(face.size(), spec.geometry.size());
            for (int y = 0; y < face.height(); ++y) {
                for (int x = 0; x < face.width(); ++x) {
                    if (qAlpha(face.pixel(x, y)) < 40)
                        continue;
                    const QPoint p = spec.geometry.topLeft() + QPoint(x, y);
                    QVERIFY2(qGray(covered.pixel(p)) == 0,
                             qPrintable(QStringLiteral("%1 covers another face at %2,%3").arg(spec.objectName).arg(p.x()).arg(p.y())));
                    QVERIFY2(!kLauncherHandle.contains(p), spec.objectName);
                    covered.setPixel(p, 255);
                }
            }
        }
        for (int i = 0; i < specs.size(); ++i) {
            const QRectF face = LauncherFaces()[i];
            QVERIFY2(face.width() >= 28, specs[i].objectName);
            QVERIFY(QRectF(specs[i].geometry).contains(face));
            QCOMPARE(m_launcher->childAt(face.center().toPoint()), m_launcher->findChild<QPushButton*>(specs[i].objectName));
        }
    }

    // The windows take the pointer only where they show something: the
    // launcher's disc, and the colour panel's ring around the launcher.
    void shapeFollowsThePictures()
    {
        m_launcher->show();
        m_colour->show();
        const QRegion launcher = m_launcher->Shape();
        QVERIFY(launcher.contains(QPoint(93, 93)));
        QVERIFY(launcher.contains(QPoint(93, 4)));
        QVERIFY(!launcher.contains(QPoint(3, 3)));
        QVERIFY(!launcher.contains(QPoint(183, 183)));
        const QRegion ring = m_colour->Shape();
        QVERIFY(!ring.contains(QPoint(120, 120)));
        QVERIFY(!ring.contains(QPoint(120, 40)));  // over the launcher's figure button
        QVERIFY(ring.contains(ColourButton("btnRed")->geometry().center()));
        QVERIFY(ring.contains(QPoint(120, 5)));
        QVERIFY(!ring.contains(QPoint(2, 2)));
        QCOMPARE(m_colour->windowTitle(), QStringLiteral("floatingcolor"));
    }
};

QTEST_MAIN(FloatingPanelsTest)
#include "floating_panels_test.moc"
