#pragma once

#include <QString>

// How the whiteboard and the pen driver talk: the driver's window, the
// messages both sides understand, and how long the board waits for an answer.

// The driver's window, as the board finds it.
inline const QString kPenDriverWindowClass = QStringLiteral("QWidget");
inline const QString kPenDriverWindowTitle = QStringLiteral("Stylane");

// Either side greets the other with its own window handle in wParam.
constexpr quint32 kPenDriverGreeting = 2024;
// The board tells the driver its mode in lParam: 0 "Window", 1 "Panser".
constexpr quint32 kPenDriverMode = 2025;

// Touch points: pointer n (1..9) arrives as message 1138 + n, the point
// packed in wParam and the action in lParam.
constexpr quint32 kFirstTouchMessage = 1139;
constexpr int kTouchPointers = 9;
constexpr int kTouchMove = 10;

// The driver answers at once; one that has not answered by then counts as
// gone until it greets again. The board never waits for it.
constexpr int kPenDriverAnswerLimitMs = 5000;
// A greeting from the window the board greeted this recently is its reply.
constexpr int kPenDriverReplyWindowMs = 1000;
