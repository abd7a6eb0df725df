// The main menu, the edit menu (the board's context menu) and the tray icon
// with its menu. Texts come from the language file as loaded at start; a
// missing key gives an empty text.
#include "app/ui/dialog.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QMenu>

namespace {

// Positions of the keys in the "Menu" text list, which holds them in this
// order: 800..806, 8061..8063, 807, 8071..8075, 810, 811..825.
int MenuTextIndex(int key)
{
    if (key >= 800 && key <= 806)
        return key - 800;
    if (key >= 8061 && key <= 8063)
        return 7 + key - 8061;
    if (key == 807)
        return 10;
    if (key >= 8071 && key <= 8075)
        return 11 + key - 8071;
    if (key == 810)
        return 16;
    if (key >= 811 && key <= 825)
        return 17 + key - 811;
    return -1;
}

QString TextAt(const QStringList& list, int index)
{
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

}  // namespace

void Dialog::CreateMenus()
{
    const auto menuText = [this](int key) { return TextAt(m_lang.menu, MenuTextIndex(key)); };
    const auto hintText = [this](int key) { return TextAt(m_lang.hint, key - 900); };
    const auto popupText = [this](int key) { return TextAt(m_lang.popup, key - 1300); };
    const auto mainEntry = [this](const char* icon, const QString& text, const char* slot) {
        QAction* action = new QAction(QIcon(QLatin1String(icon)), text, this);
        action->setIconVisibleInMenu(true);
        connect(action, SIGNAL(triggered()), this, slot);
        m_mainMenu->addAction(action);
        return action;
    };
    const auto plainAction = [this](const QString& text, const char* slot) {
        QAction* action = new QAction(text, this);
        connect(action, SIGNAL(triggered()), this, slot);
        return action;
    };

    m_mainMenu = new QMenu(this);
    m_fileActions = {mainEntry(":/Menu/new", menuText(800), SLOT(OptNewLecture())),
                     mainEntry(":/Menu/open", menuText(801), SLOT(OptProjectOpen())),
                     mainEntry(":/Menu/save", menuText(802), SLOT(OptProjectSave())),
                     mainEntry(":/Menu/saveas", menuText(803), SLOT(OptProjectSaveAs()))};
    m_mainMenu->addSeparator();
    mainEntry(":/Menu/notesave", menuText(804), SLOT(OptNoteSave()));
    mainEntry(":/Menu/print", menuText(805), SLOT(OptNotePrint()));
    m_mainMenu->addSeparator();

    QMenu* toolsMenu = new QMenu(menuText(806), this);
    toolsMenu->addAction(plainAction(menuText(8062), SLOT(OptVirtureKeyboard())));
    toolsMenu->addAction(plainAction(menuText(8061), SLOT(OptToolSpot())));
    toolsMenu->addAction(plainAction(menuText(8063), SLOT(OptToolBlind())));
    QAction* toolsEntry = m_mainMenu->addMenu(toolsMenu);
    toolsEntry->setIcon(QIcon(QStringLiteral(":/Menu/tool")));
    toolsEntry->setIconVisibleInMenu(true);

    QMenu* positionMenu = new QMenu(menuText(807), this);
    QAction* left = plainAction(menuText(8071), SLOT(OptToolPosLeft()));
    QAction* right = plainAction(menuText(8072), SLOT(OptToolPosRight()));
    QAction* top = plainAction(menuText(8073), SLOT(OptToolPosTop()));
    QAction* bottom = plainAction(menuText(8074), SLOT(OptToolPosBottom()));
    QAction* floating = plainAction(menuText(8075), SLOT(OptToolPosFloat()));
    positionMenu->addActions({left, right, top, bottom});
    positionMenu->addSeparator();
    positionMenu->addAction(floating);
    // Indexed by the toolbar position they choose.
    m_toolPosActions[0] = bottom;
    m_toolPosActions[1] = top;
    m_toolPosActions[2] = left;
    m_toolPosActions[3] = right;
    m_toolPosActions[4] = floating;
    QAction* positionEntry = m_mainMenu->addMenu(positionMenu);
    positionEntry->setIcon(QIcon(QStringLiteral(":/Menu/toolpos")));
    positionEntry->setIconVisibleInMenu(true);
    SetTollPosEnable();

    m_mainMenu->addSeparator();
    mainEntry(":/Menu/config", menuText(810), SLOT(OptConfiguration()));
    m_mainMenu->addSeparator();
    mainEntry(":/Menu/exit", menuText(811), SLOT(OptCloseOrbel()));

    m_editMenu = new QMenu(this);
    m_moveHereAction = plainAction(popupText(1319), SLOT(OptFloating_Movehere()));
    QAction* cut = plainAction(popupText(1300), SLOT(OptMenuCut()));
    QAction* copy = plainAction(popupText(1301), SLOT(OptMenuCopy()));
    QAction* paste = plainAction(popupText(1302), SLOT(OptMenuPaste()));
    QAction* remove = plainAction(popupText(1303), SLOT(OptMenuDelete()));
    QAction* all = plainAction(popupText(1304), SLOT(OptMenuAll()));
    m_rulerAction = plainAction(popupText(1316), SLOT(OptMenuRuler()));
    m_protractorAction = plainAction(popupText(1317), SLOT(OptMenuProtractor()));
    m_compassAction = plainAction(popupText(1318), SLOT(OptMenuCompass()));
    m_undoAction = plainAction(hintText(975), SLOT(OptUndo()));
    m_redoAction = plainAction(hintText(976), SLOT(OptRedo()));
    QAction* reset = plainAction(popupText(1309), SLOT(OptMenuReset()));
    m_editMenu->addAction(m_moveHereAction);
    m_editMenu->addSeparator();
    m_editMenu->addActions({cut, copy, paste});
    m_editMenu->addSeparator();
    m_editMenu->addAction(remove);
    m_editMenu->addSeparator();
    m_editMenu->addAction(all);
    m_editMenu->addSeparator();
    m_editMenu->addActions({m_rulerAction, m_protractorAction, m_compassAction});
    m_editMenu->addSeparator();
    m_editMenu->addActions({m_undoAction, m_redoAction});
    m_editMenu->addSeparator();
    m_editMenu->addSeparator();
    m_editMenu->addAction(reset);
    m_moveHereAction->setVisible(m_toolbarPosition == 4);
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    m_roleActions = {m_rulerAction, m_protractorAction, m_compassAction};

    // The stacking and grouping commands follow the enabling rules too, but
    // stand in no menu.
    m_editActions = {cut,
                     copy,
                     paste,
                     remove,
                     all,
                     plainAction(popupText(1312), SLOT(OptMenutoFront())),
                     plainAction(popupText(1310), SLOT(OptMenuForward())),
                     plainAction(popupText(1311), SLOT(OptMenuBackward())),
                     plainAction(popupText(1313), SLOT(OptMenutoBack())),
                     plainAction(popupText(1314), SLOT(OptMenuGroup())),
                     plainAction(popupText(1315), SLOT(OptMenuUngroup())),
                     reset};

    SetEditActionEnable(0);
}

void Dialog::CreateTrayMenu()
{
    const auto hintText = [this](int key) { return TextAt(m_lang.hint, key - 900); };
    m_panserAction = new QAction(QIcon(QStringLiteral(":/Window/panser1")), hintText(958), this);
    connect(m_panserAction, SIGNAL(triggered()), this, SLOT(OptPanserMode()));
    m_allCaptureAction = new QAction(QIcon(QStringLiteral(":/Window/allcap1")), hintText(902), this);
    connect(m_allCaptureAction, SIGNAL(triggered()), this, SLOT(OptAllCapture()));
    m_rectCaptureAction = new QAction(QIcon(QStringLiteral(":/Window/rectcap1")), hintText(954), this);
    connect(m_rectCaptureAction, SIGNAL(triggered()), this, SLOT(OptRectCapture()));

    m_trayMenu = new QMenu(this);
    m_trayMenu->addAction(m_panserAction);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_allCaptureAction);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_rectCaptureAction);

    m_trayIcon = new QSystemTrayIcon(this);
    m_trayIcon->setContextMenu(m_trayMenu);
    m_trayIcon->setIcon(QIcon(QStringLiteral(":/Etc/orbel")));
    m_trayIcon->setToolTip(hintText(951));
    m_trayIcon->hide();
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &Dialog::slotTrayActivated);
}

void Dialog::slotTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::DoubleClick && reason != QSystemTrayIcon::Trigger)
        return;
    if (!m_trayMenu)
        return;
    m_trayMenu->activateWindow();
    m_trayMenu->popup(QCursor::pos());
}
