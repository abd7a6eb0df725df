#pragma once

#include <QColor>
#include <QHash>
#include <QStringList>

#include <initializer_list>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QWidget>

class QLabel;
class QMenu;
class QPainter;

// What the ruler, the compass and the protractor share: a frameless tool
// window over the whole primary screen that is transparent except where the
// instrument is painted, its round handles and menu button, the context menu
// shown at the pointer, and the press and release bookkeeping.
//
// Without a compositing manager a translucent pixel shows dark, so the
// shape is then painted on an opaque ground in the colour the body has on
// a white page.
//
// X11 does not pass the pointer through transparent pixels, so after every
// change the window's shape is set to what it paints; outside it the board
// below takes the pointer. Only the union of the old and the new shape is
// repainted.
class ToolDlgBase : public QWidget
{
    Q_OBJECT

public:
    // The menu is closed and emptied while its slots' window still exists.
    ~ToolDlgBase() override;

    // The instrument rectangle before turning, in window coordinates.
    QRect InstrumentRect() const { return m_rect; }

    // Gives the window another screen rectangle and centres the instrument
    // on it (the benchmark sizes windows beyond the test screen this way).
    void SetScreenRect(const QRect& screen);

    // Style sheets of the round handles.
    static const char* const kTurnHandleStyle;
    static const char* const kArmHandleStyle;
    static const char* const kEndHandleStyle;

protected:
    // Covers the primary screen; the instrument starts width x height,
    // centred on it.
    ToolDlgBase(const char* objectName, QSize instrumentSize, QWidget* parent);

    // A round handle of 24 x 24 px, or the 44 x 44 px menu button, with this
    // window as its event filter.
    QLabel* MakeHandle(const char* objectName, const char* style);
    QLabel* MakeMenuButton();
    // A hidden label for diagnostics; nothing shows it.
    QLabel* MakeDiagnosticLabel(const char* objectName, QSize size);
    // Puts a label's centre on p.
    static void CentreOn(QLabel* label, QPoint p);
    // The part of the shape a handle takes: round for the round handles.
    static QRegion HandleRegion(const QLabel* label);

    // Builds the context menu: separator, the entries (text and slot of this
    // window), separator, the close entry (Common text 3), separator. Texts
    // missing from the language lists stay empty.
    struct MenuEntry {
        int menuIndex;
        const char* slot;
    };
    void BuildMenu(const QStringList* menuTexts, const QStringList* commonTexts,
                   std::initializer_list<MenuEntry> entries);
    void ShowMenuAtCursor();
    // The menu icon turned by deg, made once per angle.
    QPixmap TurnedMenuIcon(int deg);

    // Without a compositing manager, fills the whole shape with the colour
    // the faint body has on a white page; the body, the handles, the menu
    // icon and everything painted after it then blend onto that instead of
    // onto black.
    void PaintGround(QPainter& painter);

    // The pointer in window coordinates.
    QPoint Pointer() const;

    // Places the handles and collects the painted shape for the current
    // state; called by Changed().
    virtual QRegion Layout() = 0;
    // After any change of geometry, angle or held handle: lays out, sets the
    // shape and repaints the old and the new shape's bounds.
    void Changed();

    bool eventFilter(QObject* watched, QEvent* event) override;
    // A press and release on a handle, passed on by the event filter.
    virtual void HandlePressed(QObject* handle) = 0;
    virtual void HandleMoved(QObject* handle) = 0;
    virtual void HandleReleased(QObject* handle) = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    QRect m_screenRect;
    QRect m_rect;
    QPoint m_pressPosition;
    QRect m_pressRect;
    QRect m_workingRect;
    int m_logicalDpi = 96;
    QMenu* m_menu = nullptr;
    QLabel* m_menuButton = nullptr;
    bool m_menuButtonHeld = false;

private:
    bool m_seeThrough = true;
    QPixmap m_menuIcon;
    QHash<int, QPixmap> m_turnedIcons;
    QRegion m_shape;
};
