// The eraser, figure, note, mode and zoom rings on their own: what each
// press and each call from the board sends, and which buttons it leaves
// checked, disabled or hidden.
#include "panels/floating_panels.h"
#include "panels/ui/floatingchangemode.h"
#include "panels/ui/floatingeraser.h"
#include "panels/ui/floatingfigure.h"
#include "panels/ui/floatingnote.h"
#include "panels/ui/floatingzoom.h"

#include <QImage>
#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>
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

QStringList MenuTexts()
{
    QStringList texts;
    for (int i = 0; i < 32; ++i)
        texts << QStringLiteral("menu%1").arg(i);
    return texts;
}

// Every signal a panel declares, in the order it is sent: "Name" or
// "Name:argument".
class Emissions : public QObject
{
    Q_OBJECT

public:
    explicit Emissions(QObject* panel)
    {
        const QMetaObject* meta = panel->metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod signal = meta->method(i);
            if (signal.methodType() != QMetaMethod::Signal)
                continue;
            const QByteArray args = signal.parameterTypes().value(0);
            const char* slot = args == "QString" ? SLOT(Text(QString)) : args == "bool" ? SLOT(Flag(bool))
                                                                                          : SLOT(Bare());
            connect(panel, QByteArray("2" + signal.methodSignature()).constData(), this, slot);
        }
    }

    QStringList sent;

private slots:
    void Bare() { sent << Name(); }
    void Text(QString text) { sent << Name() + ':' + text; }
    void Flag(bool on) { sent << Name() + ':' + (on ? "true" : "false"); }

private:
    QString Name() const { return QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name()); }
};

}  // namespace

class ToolRingsTest : public QObject
{
    Q_OBJECT

    QStringList m_hints = Hints();
    QStringList m_menu = MenuTexts();
    std::unique_ptr<floatingeraser> m_eraser;
    std::unique_ptr<floatingfigure> m_figure;
    std::unique_ptr<floatingnote> m_note;
    std::unique_ptr<floatingchangemode> m_mode;
    std::unique_ptr<floatingzoom> m_zoom;

    FloatingSubPanel* Panel(const QString& name) const
    {
        if (name == "eraser")
            return m_eraser.get();
        if (name == "figure")
            return m_figure.get();
        if (name == "note")
            return m_note.get();
        if (name == "mode")
            return m_mode.get();
        return m_zoom.get();
    }

    // One step: "click <button>", or a call from the board "<Setter> <value>"
    // (a value may be empty; bools are "true" or "false").
    void Run(FloatingSubPanel* panel, const QString& step)
    {
        const QString verb = step.section(' ', 0, 0);
        const QString value = step.section(' ', 1);
        const bool on = value == "true";
        if (verb == "click") {
            QPushButton* b = panel->findChild<QPushButton*>(value);
            QVERIFY2(b, qPrintable(step));
            QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
        } else if (verb == "SetEraserKey") {
            m_eraser->SetEraserKey(value);
        } else if (verb == "SetFigureKey") {
            m_figure->SetFigureKey(value);
        } else if (verb == "SetTransChecked") {
            m_figure->SetTransChecked(on);
        } else if (verb == "SetTransEnabled") {
            m_figure->SetTransEnabled(on);
        } else if (verb == "SetSmartVisible") {
            m_figure->SetSmartVisible(on);
        } else if (verb == "SetNoteListEnabled") {
            m_note->SetNoteListEnabled(on);
        } else if (verb == "SetSelectKey") {
            m_mode->SetSelectKey(value);
        } else if (verb == "SetModeButtonsEnabled") {
            m_mode->SetModeButtonsEnabled(on);
        } else if (verb == "SetSelectEnabled") {
            m_mode->SetSelectEnabled(on);
        } else if (verb == "SetSwapModeEnabled") {
            m_mode->SetSwapModeEnabled(on);
        } else if (verb == "SetMoveAllEnabled") {
            m_mode->SetMoveAllEnabled(on);
        } else if (verb == "SetConnectVisible") {
            m_mode->SetConnectVisible(on);
        } else if (verb == "SetIpVisible") {
            m_mode->SetIpVisible(on);
        } else if (verb == "SetZoomKey") {
            m_zoom->SetZoomKey(value);
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

    // What the panel shows, for its usable buttons that differ from the
    // plain face: "<button>:checked", ":off" (disabled) or ":hidden".
    static QStringList Shown(FloatingSubPanel* panel)
    {
        QStringList shown;
        for (QPushButton* b : panel->HoverButtons()) {
            if (b->isHidden()) {
                shown << b->objectName() + ":hidden";
                continue;
            }
            if (b->isChecked())
                shown << b->objectName() + ":checked";
            if (!b->isEnabled())
                shown << b->objectName() + ":off";
        }
        return shown;
    }

private slots:
    void init()
    {
        m_eraser = std::make_unique<floatingeraser>();
        m_eraser->InitDialog(&m_hints);
        m_figure = std::make_unique<floatingfigure>();
        m_figure->InitDialog(&m_hints);
        m_note = std::make_unique<floatingnote>();
        m_note->InitDialog(&m_hints);
        m_mode = std::make_unique<floatingchangemode>();
        m_mode->InitDialog(&m_hints, &m_menu);
        m_zoom = std::make_unique<floatingzoom>();
        m_zoom->InitDialog(&m_hints);
    }

    void cleanup()
    {
        m_eraser.reset();
        m_figure.reset();
        m_note.reset();
        m_mode.reset();
        m_zoom.reset();
    }

    void stepsSendAndShow_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QStringList>("shown");
        using L = QStringList;
        const QString erase = "CallOptEraserChange:";
        QTest::newRow("eraser: erase all once") << "eraser" << L{"click btnEraserAll"} << L{erase + "ekEraseAll"}
                                                << L{"btnEraserAll:checked"};
        QTest::newRow("eraser: touched objects twice")
            << "eraser" << L{"click btnEraserSel"} << L{erase + "ekSelEraser", erase + "ekSelEraser"}
            << L{"btnEraserSel:checked"};
        QTest::newRow("eraser: area twice") << "eraser" << L{"click btnEraserArea"}
                                            << L{erase + "ekAreaEraser", erase + "ekAreaEraser"}
                                            << L{"btnEraserArea:checked"};
        QTest::newRow("eraser: reopened on erase all") << "eraser" << L{"SetEraserKey ekEraseAll"} << L{}
                                                       << L{"btnEraserAll:checked"};
        QTest::newRow("eraser: reopened on touched objects")
            << "eraser" << L{"SetEraserKey ekSelEraser"} << L{erase + "ekSelEraser"} << L{"btnEraserSel:checked"};
        QTest::newRow("eraser: reopened on area")
            << "eraser" << L{"SetEraserKey ekAreaEraser"} << L{erase + "ekAreaEraser"} << L{"btnEraserArea:checked"};
        QTest::newRow("eraser: empty key") << "eraser" << L{"click btnEraserArea", "SetEraserKey "}
                                           << L{erase + "ekAreaEraser", erase + "ekAreaEraser"} << L{};

        const QString figure = "CallOptFigureChange:";
        QTest::newRow("figure: brush") << "figure" << L{"SetTransChecked true", "click btnBrushPen"}
                                       << L{figure + "ekBrush"} << L{"btnPenTrans:off", "btnBrushPen:checked"};
        QTest::newRow("figure: another figure after the brush")
            << "figure" << L{"click btnBrushPen", "click btnLine"} << L{figure + "ekBrush", figure + "ekLine"}
            << L{"btnLine:checked"};
        QTest::newRow("figure: transparency after the board said on")
            << "figure" << L{"SetTransChecked true", "click btnPenTrans"} << L{"CallOptTransChange:false"} << L{};
        QTest::newRow("figure: transparency on and off")
            << "figure" << L{"click btnPenTrans", "click btnPenTrans"}
            << L{"CallOptTransChange:true", "CallOptTransChange:false"} << L{};
        QTest::newRow("figure: undo keeps the figure alone")
            << "figure" << L{"SetFigureKey ekRect", "click btnUndo"} << L{figure + "ekRect", "CallOptUndo"}
            << L{"btnRectangle:checked"};
        QTest::newRow("figure: redo keeps the figure alone")
            << "figure" << L{"SetFigureKey ekEArrow", "click btnRedo", "click btnRedo"}
            << L{figure + "ekEArrow", "CallOptRedo", "CallOptRedo"} << L{"btnEArrow:checked"};
        QTest::newRow("figure: smart while its button is hidden")
            << "figure" << L{"SetSmartVisible false", "SetFigureKey ekSmart"} << L{figure + "ekSmart"}
            << L{"btnSmartFigure:hidden"};
        QTest::newRow("figure: unknown key after the brush")
            << "figure" << L{"click btnBrushPen", "SetFigureKey ekZap"} << L{figure + "ekBrush", figure + "ekZap"}
            << L{};
        QTest::newRow("figure: transparency disabled by the board")
            << "figure" << L{"SetTransEnabled false", "click btnPenTrans"} << L{} << L{"btnPenTrans:off"};

        const QString mode = "CallOptSelectChange:";
        QTest::newRow("mode: move all") << "mode" << L{"click btnMoveAll"} << L{mode + "ekMoveAll", mode + "ekMoveAll"}
                                        << L{"btnMoveAll:checked"};
        QTest::newRow("mode: select") << "mode" << L{"click btnSelect"} << L{mode + "ekSelect", mode + "ekSelect"}
                                      << L{"btnSelect:checked"};
        QTest::newRow("mode: reopened on select")
            << "mode" << L{"SetSelectKey ekSelect"} << L{mode + "ekSelect", mode + "ekSelect"} << L{"btnSelect:checked"};
        QTest::newRow("mode: unknown key") << "mode" << L{"click btnMoveAll", "SetSelectKey ekFree"}
                                           << L{mode + "ekMoveAll", mode + "ekMoveAll", mode + "ekFree"} << L{};
        QTest::newRow("mode: window") << "mode" << L{"click btnSwapMode"} << L{"CallOptWinMode"} << L{};
        QTest::newRow("mode: connect") << "mode" << L{"click btn_floating_collConnect"} << L{"coll_Connect"} << L{};
        QTest::newRow("mode: address") << "mode" << L{"click btn_floating_Ip"} << L{"coll_Ip"} << L{};
        QTest::newRow("mode: upload") << "mode" << L{"click btn_floating_Strova"} << L{"Call_Strova"} << L{};
        QTest::newRow("mode: mode buttons off")
            << "mode" << L{"SetModeButtonsEnabled false", "click btnSelect", "click btn_floating_Ip"} << L{"coll_Ip"}
            << L{"btnMoveAll:off", "btnSelect:off", "btnSwapMode:off"};
        QTest::newRow("mode: one by one")
            << "mode" << L{"SetMoveAllEnabled false", "SetSwapModeEnabled false", "SetSelectEnabled false",
                           "SetSelectEnabled true", "SetConnectVisible false", "SetIpVisible false"}
            << L{} << L{"btnMoveAll:off", "btnSwapMode:off", "btn_floating_collConnect:hidden", "btn_floating_Ip:hidden"};

        const QString zoom = "CallOptZoomChange:";
        const char* const zoomRows[][2] = {{"btnZoom100", "ekZoomFix1"}, {"btnZoom200", "ekZoomFix2"},
                                           {"btnZoom300", "ekZoomFix3"}, {"btnZoom400", "ekZoomFix4"},
                                           {"btnZoomIn", "ekZoomIn"},    {"btnZoomOut", "ekZoomOut"}};
        for (const auto& row : zoomRows) {
            QTest::addRow("zoom: %s", row[0]) << "zoom" << L{QStringLiteral("click ") + row[0]} << L{zoom + row[1]}
                                              << L{QString(row[0]) + ":checked"};
        }
        QTest::newRow("zoom: rectangle twice") << "zoom" << L{"click btnZoomRect"}
                                               << L{zoom + "ekZoomRect", zoom + "ekZoomRect"}
                                               << L{"btnZoomRect:checked"};
        QTest::newRow("zoom: empty key") << "zoom" << L{"click btnZoom300", "SetZoomKey "} << L{zoom + "ekZoomFix3"}
                                         << L{};
        QTest::newRow("zoom: unknown key") << "zoom" << L{"SetZoomKey ekZoomFix9"} << L{} << L{};
        QTest::newRow("zoom: reopened on a fixed zoom") << "zoom" << L{"SetZoomKey ekZoomFix2"} << L{}
                                                        << L{"btnZoom200:checked"};
        QTest::newRow("zoom: reopened on the rectangle") << "zoom" << L{"SetZoomKey ekZoomRect"}
                                                         << L{zoom + "ekZoomRect"} << L{"btnZoomRect:checked"};

        const char* const noteRows[][2] = {
            {"btnNote", "WhiteBoard"},     {"btnBlackBoard", "BlackNote"}, {"btnMusicNote", "MusicNote"},
            {"btnEnglishNote", "EngNote"}, {"btnManuScript", "ManuNote"},  {"btnGraphNote", "GraphNote"},
            {"btnOffice", "Office"},       {"btnClipart", "ClipArt"},      {"btnLoadImage", "LoadImage"}};
        for (const auto& row : noteRows) {
            QTest::addRow("note: %s", row[0]) << "note" << L{QStringLiteral("click ") + row[0]}
                                              << L{QStringLiteral("CallOptNoteChange:") + row[1]} << L{};
        }
        QTest::newRow("note: list") << "note" << L{"click btnNoteList"} << L{"CallOptNoteList"} << L{};
        QTest::newRow("note: list disabled")
            << "note" << L{"SetNoteListEnabled false", "click btnNoteList", "click btnOffice"}
            << L{"CallOptNoteChange:Office"} << L{"btnNoteList:off"};
    }

    void stepsSendAndShow()
    {
        QFETCH(QString, panel);
        QFETCH(QStringList, steps);
        FloatingSubPanel* p = Panel(panel);
        Emissions emissions(p);
        for (const QString& step : steps)
            Run(p, step);
        QTEST(emissions.sent, "sent");
        QTEST(Shown(p), "shown");
    }

    // The buttons of the form the rings never use stay out of sight and out
    // of the hover mark; the mode ring names itself as the board expects.
    void unusedButtonsAndTitles()
    {
        for (const char* name : {"btnEraser10", "btnEraser20", "btnEraser30"}) {
            QPushButton* b = m_eraser->findChild<QPushButton*>(name);
            QVERIFY2(b && b->isHidden() && !m_eraser->HoverButtons().contains(b), name);
        }
        QPushButton* intelligent = m_mode->findChild<QPushButton*>("btnSwapModeInteligent");
        QVERIFY(intelligent && intelligent->isHidden() && !m_mode->HoverButtons().contains(intelligent));

        const struct {
            FloatingSubPanel* panel;
            const char* title;
            int buttons;
        } rows[] = {{m_eraser.get(), "floatingeraser", 3}, {m_figure.get(), "floatingfigure", 13},
                    {m_note.get(), "floatingnote", 10},    {m_mode.get(), "floatingchange", 6},
                    {m_zoom.get(), "floatingzoom", 7}};
        for (const auto& row : rows) {
            QCOMPARE(row.panel->windowTitle(), QString(row.title));
            QCOMPARE(row.panel->HoverButtons().size(), row.buttons);
            QCOMPARE(row.panel->size(), QSize(241, 241));
            QVERIFY2(row.panel->isHidden(), row.title);
        }
        m_mode->show();
        QVERIFY(intelligent->isHidden());
        // Note buttons never stay lit; the two collaboration tips are words.
        QVERIFY(!m_note->findChild<QPushButton*>("btnOffice")->isCheckable());
        QCOMPARE(m_mode->findChild<QPushButton*>("btn_floating_collConnect")->toolTip(), QStringLiteral("Connect"));
        QCOMPARE(m_mode->findChild<QPushButton*>("btn_floating_Ip")->toolTip(), QStringLiteral("IP"));
        QCOMPARE(m_mode->findChild<QPushButton*>("btn_floating_Strova")->toolTip(), QStringLiteral("menu18"));
        QCOMPARE(m_zoom->findChild<QPushButton*>("btnZoomRect")->toolTip(), QStringLiteral("hint952"));
    }

    // Every face a ring's sheets name is in the bundle, and only the
    // transparency button has a disabled face.
    void everyNamedPictureLoads()
    {
        QStringList paths;
        const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
        int disabledFaces = 0;
        for (const char* name : {"eraser", "figure", "note", "mode", "zoom"}) {
            for (QWidget* w : Panel(name)->findChildren<QWidget*>()) {
                const QString sheet = w->styleSheet();
                disabledFaces += sheet.count(":disabled");
                auto it = url.globalMatch(sheet);
                while (it.hasNext())
                    paths << it.next().captured(1);
            }
        }
        paths.removeDuplicates();
        QCOMPARE(disabledFaces, 1);
        QVERIFY(paths.contains(":/FloatingDraw/f_s_trans_disable"));
        QVERIFY(paths.contains(":/FloatingColl/f_s_Strova_down"));
        QCOMPARE(paths.size(), 5 + 2 * (3 + 13 + 10 + 6 + 7) + 1);
        for (const QString& path : paths)
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
    }
};

QTEST_MAIN(ToolRingsTest)
#include "tool_rings_test.moc"
