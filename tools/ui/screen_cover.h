#pragma once

#include <QDialog>
#include <QStringList>

class QAction;
class QMenu;
class QPushButton;

// What the blind and the spotlight share: a frameless grey cover over the
// board, placed by the toolbar's position so the toolbar stays reachable,
// with a close and a properties button at each top corner and a menu whose
// first four entries set the cover's transparency.
class ScreenCover : public QDialog
{
    Q_OBJECT

public:
    QPushButton* btnPropL = nullptr;
    QPushButton* btnCloseL = nullptr;
    QPushButton* btnPropR = nullptr;
    QPushButton* btnCloseR = nullptr;

    QMenu* menu() const { return m_menu; }
    QAction* percentAction(int index) const { return m_percent[index]; }
    int placementMode() const { return m_mode; }

public slots:
    void OptProp();
    void OptPercent0();
    void OptPercent10();
    void OptPercent20();
    void OptPercent30();

protected:
    ScreenCover(QWidget* parent, const QString& name);
    ~ScreenCover() override;

    // The set-up both covers run first: fixed size, grey, button faces, the
    // transparency entries in a new menu and the button connections.
    void InitCover(QStringList* texts);
    // A checkable menu entry with the text of `index` in the cover's texts.
    QAction* MenuAction(int index);
    // The window and its buttons for a toolbar position mode; false (and
    // nothing moved) for an unknown mode. The values are kept either way.
    bool PlaceCover(int mode, int screenWidth, int screenHeight);
    // The right-hand buttons follow the window's right edge.
    void PlaceRightButtons(int width);

    QStringList* m_texts = nullptr;
    QMenu* m_menu = nullptr;
    int m_mode = 0;
    int m_screenWidth = 0;
    int m_screenHeight = 0;

private:
    void ChooseOpacity(int index);

    QAction* m_percent[4] = {nullptr, nullptr, nullptr, nullptr};
};
