#pragma once

#include "app/update_bridge_functions.h"
#include "storage/language_file.h"
#include "storage/settings_file.h"
#include "tools/capture_functions.h"

#include <QColor>
#include <QCursor>
#include <QFutureWatcher>
#include <QLibrary>
#include <QList>
#include <QMutex>
#include <QPoint>
#include <QPrinter>
#include <QStringList>
#include <QWidget>

class QAction;
class QTimer;
struct libusb_device_handle;

namespace Ui {
class Dialog;
}

// The main window. It holds the whole board state and carries the methods of
// the shell, the canvas, editing, storage and collaboration; its method bodies
// are split by topic into the ui/ folders of those subsystems
// (app/ui/dialog_*.cpp, board/ui/dialog_*.cpp, storage/ui/dialog_*.cpp, ...).
// Members are grouped below by subsystem; keep each group together.
class Dialog : public QWidget
{
    Q_OBJECT

public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

    // --- shell: start-up, construction, teardown ---------------------------

    // The generated form: every fixed widget of the window, by object name.
    Ui::Dialog* ui = nullptr;

    // Enables or disables the three role-dependent menu actions together.
    void EnableRoleActions(bool enabled);

    // The one main window of the program; outside-library callbacks reach the
    // window only through it.
    static Dialog* Instance();

    // Capture controller library ("Vidorra.dll").
    bool m_bCaptureLibLoaded = false;
    ConfigSettingFunction ConfigSetting = nullptr;
    StartRecordingFunction StartRecording = nullptr;
    StopRecordingFunction StopRecording = nullptr;
    ReadLineDataFunction ReadLineData = nullptr;
    DeviceSaveFunction DeviceSave = nullptr;
    GetDeviceListFunction GetDeviceList = nullptr;

    // Update bridge library ("Brivane.dll").
    QLibrary m_updateBridgeLibrary;
    InitialParameterFunction InitialParameter = nullptr;
    ConnectAddressServerFunction ConnectAddressServer = nullptr;
    GetUpdateServerCountFunction GetUpdateServerCount = nullptr;
    GetUpdateServerURLFunction GetUpdateServerURL = nullptr;
    ExecuteManagerFunction ExecuteManager = nullptr;
    NextTimeCheckFunction NextTimeCheck = nullptr;
    bool m_autoUpdateOff = false;      // automatic update switched off
    bool m_nextTimeCheck = false;      // the bridge's next-time answer

    // Canvas size: set from the screens by the second-stage initialisation;
    // the primary screen's size until then, so settings defaults are defined.
    int m_canvasWidth = 0;
    int m_canvasHeight = 0;
    // Toolbar position index: 0 bottom, 1 top, 2 left, 3 right, 4 floating panel.
    int m_toolbarPosition = 1;

    // Input state.
    bool m_tabletPenInUse = false;
    bool m_tabletInProximity = false;
    bool m_panGestureActive = false;
    bool m_pinchGestureActive = false;

    // Drawing quality, switched from the master-mode dialog.
    bool m_interpolation = true;
    bool m_antialiasing = true;

    // USB pen module.
    libusb_device_handle* m_usbDevice = nullptr;
    QTimer* m_usbKeepAliveTimer = nullptr;
    QMutex m_usbSendMutex;
    bool m_usbLibraryReady = false;

    // A drop on the window places the next inserted image there.
    bool m_dropPositionPending = false;
    QPoint m_dropPosition;

    // Background jobs, one watcher each.
    QFutureWatcher<void> m_ThreadSave;         // contents save after a recording
    QFutureWatcher<void> m_ThreadPrjLoad;      // project load
    QFutureWatcher<void> m_ThreadPrjSave;      // project save
    QFutureWatcher<void> m_ThreadRecTime;      // recording clock
    QFutureWatcher<void> m_ThreadNoteSave;     // note save and print
    QFutureWatcher<void> m_ThreadCollSearch;   // collaboration discovery

    QPrinter m_printer{QPrinter::ScreenResolution};

    // Cursors, made by the second-stage initialisation.
    QCursor m_cursorBlank;
    QCursor m_cursorPen;
    QCursor m_cursorCross;
    QCursor m_cursorPointingHand;
    QCursor m_cursorSizeAll;
    QCursor m_cursorSizeVer;
    QCursor m_cursorSizeHor;
    QCursor m_cursorSizeBDiag;
    QCursor m_cursorSizeFDiag;

    // The menu actions that depend on the collaboration role, in the order
    // the menu builder stores them.
    QList<QAction*> m_roleActions;

    // --- canvas: board model, pointer input, drawing ------------------------

    // --- editing: selection and undo/redo -----------------------------------

    // --- storage: settings, language, projects, PDF -------------------------

    // Settings.
    ConfigInfomation m_config;
    QString m_commonAppDataFolder;
    QString m_workFolder;              // ends with a separator
    QString m_configFilePath;
    QString m_currentProjectFolder;
    int m_recordType = 3;              // mirror of the record type setting
    QColor m_blackboardColor{25, 74, 57, 255};
    QColor m_boardColor{Qt::white};

    void LoadConfig(bool bInit);
    void SetFileFilters();

    // Folders and file-dialog filters.
    QString m_applicationFolder;
    QString m_penDriverConfigPath;
    QString m_projectOpenFilter;
    QString m_projectSaveFilter;
    QString m_projectExtension;
    QString m_contentsFilter;
    QString m_contentsExtension;
    QString m_paperFolder;
    QString m_clipartFolder;
    QString m_languageFolder;          // ends with a separator

    // Language texts.
    LanguageTexts m_lang;
    QString m_languageFilePath;
    QString m_languageCode;
    // The language menu's entries, one per language index.
    QList<QAction*> m_languageActions;

    void LoadLanguage();

    // PDF libraries.
    void LoadPdfRenderer();
    void LoadPdfExporter();
    bool m_pdfRendererBound = false;
    bool m_pdfExporterBound = false;
    void (*HPR_InitLibrary)() = nullptr;
    int m_pdfDocument = 0;             // open document handle, 0 when none
    int m_pdfPage = 0;                 // loaded page handle, 0 when none

    // --- collaboration ------------------------------------------------------

signals:

public slots:
    // --- storage: settings ---
    void Config_InitAll();
    void OptLanguageType(QAction* action);
    void SaveConfigData(ConfigInfomation config);
    void SaveConfigData();

private:
    // --- shell: construction ---
    void LoadCaptureLibrary();
    void LoadUpdateBridge();
    void SetUpInputHandling();
    // --- storage: settings ---
    void ApplyBoardColor();
};
