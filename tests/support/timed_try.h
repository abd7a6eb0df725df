// Qt's QTRY_* macros count their timeout in loop steps of 50 ms, not in time,
// and try once more for twice as long before they fail. An expression that
// itself takes a second (a screenshot, a window search through xdotool) made
// a 10 s wait last many minutes on a busy machine, far past the test's own
// time limit, and the test was killed without saying what it waited for.
// Every test source gets this header first (tests/CMakeLists.txt): the same
// macros, with a deadline on the clock.
#pragma once

#include <QElapsedTimer>
#include <QtTest/qtestcase.h>

#undef QTRY_LOOP_IMPL
#define QTRY_LOOP_IMPL(expr, timeoutValue, step)                             \
    QElapsedTimer qt_test_clock;                                             \
    qt_test_clock.start();                                                   \
    if (!(expr)) {                                                           \
        QTest::qWait(0);                                                     \
    }                                                                        \
    while (qt_test_clock.elapsed() < (timeoutValue) && !(expr)) {            \
        QTest::qWait(step);                                                  \
    }

// The second, longer try only served to print a hint; the deadline stands.
#undef QTRY_TIMEOUT_DEBUG_IMPL
#define QTRY_TIMEOUT_DEBUG_IMPL(expr, timeoutValue, step)
