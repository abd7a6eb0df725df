#include "tests/support/own_display.h"

#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDebug>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

bool OwnDisplay::Start(const QString& screen)
{
    if (!server.start(QStandardPaths::findExecutable("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"}))
        return false;
    // The number comes as a line of its own among the server's notices.
    const QRegularExpression numberLine("^\\s*(\\d+)\\s*$");
    int number = -1;
    for (int i = 0; i < 100 && number < 0; ++i) {
        for (const QString& line : server.lines()) {
            const QRegularExpressionMatch match = numberLine.match(line);
            if (match.hasMatch())
                number = match.captured(1).toInt();
        }
        if (number < 0)
            QTest::qWait(100);
    }
    if (number < 0) {
        qWarning().noquote() << server.lines().join('\n');
        return false;
    }
    name = ":" + QString::number(number);
    return true;
}

void Use(const OwnDisplay& display) { qputenv("DISPLAY", display.name.toLocal8Bit()); }

void Click(const OwnDisplay& display, QPoint p)
{
    Use(display);
    Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
    QTest::qWait(300);
}

void Type(const OwnDisplay& display, QPoint field, const QString& text)
{
    Click(display, field);
    Xdotool({"key", "ctrl+a", "BackSpace"});
    if (!text.isEmpty())
        Xdotool({"type", "--delay", "20", text});
    QTest::qWait(200);
}

bool StartBoardOn(RunningProgram& board, const OwnDisplay& display, const QString& root)
{
    QProcessEnvironment environment;
    environment.insert("LC_ALL", "C.UTF-8");
    environment.insert("DRAVIK_NO_MODAL", "1");
    environment.insert("DRAVIK_ROOT", root);
    environment.insert("TMPDIR", root);
    environment.insert("DISPLAY", display.name);
    environment.insert("DRAVIK_LIBRARY_DIR", BuiltProgramFolder());
    Use(display);
    return StartWhiteboard(board, {}, environment);
}
