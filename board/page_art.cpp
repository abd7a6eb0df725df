#include "board/page_art.h"

#include <QPainter>
#include <QPen>

namespace {

struct BoardColour {
    const char* board;
    QColor colour;
};

const QVector<BoardColour>& BoardColours()
{
    static const QVector<BoardColour> table = {
        {"WhiteBoard", QColor(255, 255, 255)},     {"BlackBoard", QColor(25, 74, 57)},
        {"MaroonBoard", QColor(128, 0, 0)},        {"PurpleBoard", QColor(128, 0, 128)},
        {"NavyBoard", QColor(0, 0, 128)},          {"BlueBoard", QColor(0, 0, 255)},
        {"CyanBoard", QColor(0, 255, 255)},        {"LimeBoard", QColor(0, 255, 0)},
        {"GreenBoard", QColor(0, 128, 0)},         {"OliveBoard", QColor(128, 128, 0)},
        {"TealBoard", QColor(0, 128, 128)},        {"MagentaBoard", QColor(255, 0, 255)},
        {"RedBoard", QColor(255, 0, 0)},           {"OrangeBoard", QColor(255, 165, 0)},
        {"YellowBoard", QColor(255, 255, 0)},      {"SilverBoard", QColor(192, 192, 192)},
        {"GrayBoard", QColor(128, 128, 128)},      {"DarkblackBoard", QColor(0, 0, 0)},
    };
    return table;
}

// Everything below is laid out in PDF points on an A4 landscape sheet.
constexpr double kSheetWidth = 841.89;
constexpr double kSheetHeight = 595.28;
constexpr double kMargin = 42.0;

QPen LinePen(QColor colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

// Five-line staves, evenly spread down the sheet.
void PaintMusicPaper(QPainter& p)
{
    const QPen pen = LinePen(QColor(40, 40, 40), 0.8);
    p.setPen(pen);
    constexpr int kStaves = 7;
    constexpr double kLineGap = 7.5;
    const double staffHeight = 4 * kLineGap;
    const double usable = kSheetHeight - 2 * kMargin;
    const double pitch = (usable - staffHeight) / (kStaves - 1);
    for (int staff = 0; staff < kStaves; ++staff) {
        const double top = kMargin + staff * pitch;
        for (int line = 0; line < 5; ++line) {
            const double y = top + line * kLineGap;
            p.drawLine(QPointF(kMargin, y), QPointF(kSheetWidth - kMargin, y));
        }
        // Bar lines closing each staff at both ends.
        p.drawLine(QPointF(kMargin, top), QPointF(kMargin, top + staffHeight));
        p.drawLine(QPointF(kSheetWidth - kMargin, top), QPointF(kSheetWidth - kMargin, top + staffHeight));
    }
}

// Four-line handwriting rows: a top line, a dashed waist line, a red base
// line and a descender line.
void PaintEnglishPaper(QPainter& p)
{
    constexpr int kRows = 8;
    constexpr double kLineGap = 12.0;
    const double rowHeight = 3 * kLineGap;
    const double usable = kSheetHeight - 2 * kMargin;
    const double pitch = (usable - rowHeight) / (kRows - 1);
    const QColor blue(70, 110, 190);
    for (int row = 0; row < kRows; ++row) {
        const double top = kMargin + row * pitch;
        const double x1 = kMargin;
        const double x2 = kSheetWidth - kMargin;
        p.setPen(LinePen(blue, 0.9));
        p.drawLine(QPointF(x1, top), QPointF(x2, top));
        p.setPen(LinePen(blue, 0.7, Qt::DashLine));
        p.drawLine(QPointF(x1, top + kLineGap), QPointF(x2, top + kLineGap));
        p.setPen(LinePen(QColor(210, 60, 60), 1.0));
        p.drawLine(QPointF(x1, top + 2 * kLineGap), QPointF(x2, top + 2 * kLineGap));
        p.setPen(LinePen(blue, 0.9));
        p.drawLine(QPointF(x1, top + 3 * kLineGap), QPointF(x2, top + 3 * kLineGap));
    }
}

// 5 mm squares, every fifth line stronger.
void PaintGraphPaper(QPainter& p)
{
    const double cell = 72.0 / 25.4 * 5.0;
    const int columns = int((kSheetWidth - 2 * kMargin) / cell);
    const int rows = int((kSheetHeight - 2 * kMargin) / cell);
    const double left = (kSheetWidth - columns * cell) / 2;
    const double top = (kSheetHeight - rows * cell) / 2;
    const QPen thin = LinePen(QColor(150, 190, 230), 0.5);
    const QPen thick = LinePen(QColor(80, 140, 210), 1.0);
    for (int c = 0; c <= columns; ++c) {
        p.setPen(c % 5 == 0 ? thick : thin);
        const double x = left + c * cell;
        p.drawLine(QPointF(x, top), QPointF(x, top + rows * cell));
    }
    for (int r = 0; r <= rows; ++r) {
        p.setPen(r % 5 == 0 ? thick : thin);
        const double y = top + r * cell;
        p.drawLine(QPointF(left, y), QPointF(left + columns * cell, y));
    }
}

// Horizontal manuscript paper: rows of square writing cells with a narrow
// gap between rows, inside a frame.
void PaintManuscriptPaper(QPainter& p)
{
    constexpr int kColumns = 20;
    constexpr int kRows = 10;
    const double width = kSheetWidth - 2 * kMargin;
    const double cell = width / kColumns;
    const double gap = (kSheetHeight - 2 * kMargin - kRows * cell) / (kRows - 1);
    const QColor green(60, 140, 90);
    const double frameTop = kMargin;
    const double frameBottom = kMargin + kRows * cell + (kRows - 1) * gap;
    p.setPen(LinePen(green, 1.6));
    p.drawRect(QRectF(QPointF(kMargin, frameTop), QPointF(kMargin + width, frameBottom)));
    p.setPen(LinePen(green, 0.7));
    for (int row = 0; row < kRows; ++row) {
        const double top = kMargin + row * (cell + gap);
        p.drawLine(QPointF(kMargin, top), QPointF(kMargin + width, top));
        p.drawLine(QPointF(kMargin, top + cell), QPointF(kMargin + width, top + cell));
        for (int c = 1; c < kColumns; ++c) {
            const double x = kMargin + c * cell;
            p.drawLine(QPointF(x, top), QPointF(x, top + cell));
        }
    }
}

}  // namespace

QStringList BoardArtNames()
{
    QStringList names;
    for (const BoardColour& entry : BoardColours())
        names << QString::fromLatin1(entry.board);
    return names;
}

QStringList PaperArtNames()
{
    return {QStringLiteral("MusicNote"), QStringLiteral("EnglishNote"), QStringLiteral("GraphNote"),
            QStringLiteral("ManuScriptH")};
}

QColor BoardArtColor(const QString& boardName)
{
    for (const BoardColour& entry : BoardColours()) {
        if (boardName == QLatin1String(entry.board))
            return entry.colour;
    }
    return QColor();
}

QSizeF PaperPageSize()
{
    return QSizeF(kSheetWidth, kSheetHeight);
}

bool PaintPageArt(QPainter& painter, const QString& name, QSizeF size)
{
    const QColor board = BoardArtColor(name);
    if (board.isValid()) {
        painter.fillRect(QRectF(QPointF(0, 0), size), board);
        return true;
    }
    void (*paper)(QPainter&) = nullptr;
    if (name == QLatin1String("MusicNote"))
        paper = PaintMusicPaper;
    else if (name == QLatin1String("EnglishNote"))
        paper = PaintEnglishPaper;
    else if (name == QLatin1String("GraphNote"))
        paper = PaintGraphPaper;
    else if (name == QLatin1String("ManuScriptH"))
        paper = PaintManuscriptPaper;
    if (!paper)
        return false;
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size.width() / kSheetWidth, size.height() / kSheetHeight);
    paper(painter);
    painter.restore();
    return true;
}
