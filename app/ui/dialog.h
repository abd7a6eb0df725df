#pragma once

#include "app/job_snapshot.h"
#include "app/toolbar_buttons.h"
#include "app/update_bridge_functions.h"
#include "board/board_model.h"
#include "board/layer_repaint.h"
#include "board/page_fit.h"
#include "board/page_render.h"
#include "board/segment_painter.h"
#include "board/shape_recognizer.h"
#include "board/touch_slots.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/file_reception.h"
#include "collab/board_push.h"
#include "collab/konnexa_binding.h"
#include "collab/session_core.h"
#include "editing/object_resize.h"
#include "editing/edit_commands.h"
#include "editing/selection.h"
#include "editing/undo_list.h"
#include "platform/window_messages.h"
#include "storage/contents_package.h"
#include "storage/event_export.h"
#include "storage/language_file.h"
#include "storage/note_export.h"
#include "storage/pdf_libraries.h"
#include "storage/project_file.h"
#include "storage/settings_file.h"
#include "tools/capture_functions.h"
#include "tools/recorder_guard.h"
#include "tools/recording.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <atomic>
#include <QColor>
#include <QCursor>
#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QImage>
#include <QLibrary>
#include <QMessageBox>
#include <QList>
#include <QMessageBox>
#include <QMutex>
#include <QPainterPath>
#include <QPoint>
#include <QPointer>
#include <QPointF>
#include <QPixmap>
#include <QPrinter>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>
#include <memory>

class CollConnectDlg;
class CollIpDlg;
class CollUserListDlg;
class ConfigDlg;
class ImportDlg;
class MasterModedlg;
class NoteDialog;
class NotePrint;
class NoteSave;
class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QMovie;
class QPropertyAnimation;
class QPushButton;
class QScreen;
class QSignalMapper;
class ShowImportMsg;
class StrovaDlg;
class ToolDlg_Compass;
class ToolDlg_Protractor;
class ToolDlg_Ruler;
class UsbSender;
namespace storage {
class PageImageBacklog;
struct LoadedProject;
}  // namespace storage
class blind;
class clipart;
class floatingchangemode;
class floatingcolor;
class floatingeraser;
class floatingfigure;
class floatingmain;
class floatingnote;
class floatingrec;
class floatingzoom;
class navi;
class progressdlg;
class projsave;
class rec;
class spot;
class QRubberBand;
class QTabletEvent;
class QTcpSocket;
class QUdpSocket;
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

    QPrinter m_printer{QPrinter::HighResolution};  // note printing

    // Cursors, made by the second-stage initialisation.
    QCursor m_cursorBlank;
    QCursor m_cursorPen;
    QCursor m_cursorCross;
    QCursor m_cursorPointingHand{Qt::PointingHandCursor};
    QCursor m_cursorSizeAll{Qt::SizeAllCursor};
    QCursor m_cursorSizeVer{Qt::SizeVerCursor};
    QCursor m_cursorSizeHor{Qt::SizeHorCursor};
    QCursor m_cursorSizeBDiag{Qt::SizeBDiagCursor};
    QCursor m_cursorSizeFDiag{Qt::SizeFDiagCursor};

    // The menu actions that depend on the collaboration role, in the order
    // the menu builder stores them.
    QList<QAction*> m_roleActions;

    // The pen driver's window (app/ui/dialog_pen_driver.cpp).
    void ConnectPenDriverWindow(platform::WindowHandle ownWindow);
    void SendPenDriverMode(QString mode);
    // A greeting from the window `driver`: answered with `ownWindow` unless
    // it names this board itself or is the reply to our own greeting, and
    // the driver's window is kept. Nothing here waits for the driver.
    void AnswerPenDriverGreeting(platform::WindowHandle driver, platform::WindowHandle ownWindow);

    // The service log lists and test widgets (app/ui/dialog_debug_lists.cpp).
    void HideWidgets();
    void AddDebugLine(QString text, int list);
    // A line for the first list only, without a debug output line.
    void AddLogWindowLine(const QString& text);
    // The debug overlay (app/ui/dialog_debug_overlay.cpp): one label per
    // pointer slot and the status label, alive only while debug mode is on;
    // slot 0's label also shows the first second of a stroke.
    void ShowDebugOverlay();
    void test9(int value, bool flag = false, QString text = QString());
    QList<QLabel*> m_pointerDebugLabels;
    double m_pointerDebugTime = 0.0;
    int m_pointerDebugCount = 0;
    int m_image_cnt = 0;  // image objects put on the board so far
    // The image-file command (app/ui/dialog_image_file.cpp); the file
    // dialog opens where the last picture was chosen.
    void LoadImageFile();
    // What follows the file dialog: the chosen file and the answer to the
    // question whether it becomes a page of its own.
    void PlaceImageFile(const QString& path, QMessageBox::StandardButton answer);
    QString m_lastImagePath;

    // The second stage of construction, run once the window is shown
    // (app/ui/dialog_init.cpp).
    void InitDialog(bool autoUpdate);
    // Applies an answer of the update check; the bridge's callback hands it
    // here on the GUI thread.
    void ApplyUpdateCheck(bool updateAvailable);
    bool m_updateCheckStarted = false;     // step 18 has run
    bool m_updateAnswerPending = false;    // an answer came before it
    bool m_pendingUpdateAvailable = false;
    // Step 1 to 21 of the second stage, by topic.
    void PrepareWorkFolderCopies();
    void ChooseCanvasSize();
    void MakeCursors();
    void CreatePanels();
    void ChooseCameraFromList();
    void BindCollaborationLibrary();
    void SwitchOffTouchFeedback();

    // State the second stage resets for the parts that own it.
    bool m_zoomSetData = false;
    bool m_videoViewOn = false;
    std::atomic<bool> m_windowAlive{false};  // read by the contents-save job
    bool m_shutdownStarted = false;
    bool m_bDualScreen = false;
    // Long press of toolbar buttons.
    int m_longPressDelay = 200;
    int m_longPressCount = 0;
    int m_longPressLimit = 2;
    // When no pen driver has a device configured, opens the pen's own USB
    // device and starts the link to it (built in app/ui/dialog_usb_link.cpp).
    void CheckPenDriverDevice();

    // Panels and secondary dialogs, made once by the second stage with the
    // window as parent (classes in app/ui/dialog_panels.h).
    clipart* m_clipart = nullptr;
    NoteDialog* m_noteDialog = nullptr;
    NotePrint* m_notePrint = nullptr;
    NoteSave* m_noteSave = nullptr;
    navi* m_navi = nullptr;
    blind* m_blind = nullptr;
    spot* m_spot = nullptr;
    floatingmain* m_floatingMain = nullptr;
    floatingcolor* m_floatingColor = nullptr;
    floatingeraser* m_floatingEraser = nullptr;
    floatingfigure* m_floatingFigure = nullptr;
    floatingnote* m_floatingNote = nullptr;
    floatingchangemode* m_floatingChangeMode = nullptr;
    floatingrec* m_floatingRec = nullptr;
    floatingzoom* m_floatingZoom = nullptr;
    rec* m_recDlg = nullptr;
    projsave* m_projSave = nullptr;
    progressdlg* m_progressDlg = nullptr;
    QFileDialog* m_openFileDialog = nullptr;
    QFileDialog* m_saveFileDialog = nullptr;
    QString m_documentSelectedFilter;
    ToolDlg_Ruler* m_ruler = nullptr;
    ToolDlg_Protractor* m_protractor = nullptr;
    ToolDlg_Compass* m_compass = nullptr;
    MasterModedlg* m_masterModeDlg = nullptr;
    CollUserListDlg* m_collUserListDlg = nullptr;
    CollConnectDlg* m_collConnectDlg = nullptr;
    CollIpDlg* m_collIpDlg = nullptr;
    StrovaDlg* m_strovaDlg = nullptr;
    // The seven sub-panels of the floating launcher, for hiding them together.
    QList<QWidget*> FloatingSubPanels() const;

    // The one table of connections (app/ui/dialog_signals.cpp); made once.
    void ConnectSignals();
    bool m_signalsConnected = false;

    // Menus and the tray icon (app/ui/dialog_menus.cpp).
    void CreateMenus();
    void CreateTrayMenu();
    QMenu* m_mainMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_trayMenu = nullptr;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QAction* m_rulerAction = nullptr;
    QAction* m_protractorAction = nullptr;
    QAction* m_compassAction = nullptr;
    QAction* m_panserAction = nullptr;
    QAction* m_allCaptureAction = nullptr;
    QAction* m_rectCaptureAction = nullptr;
    void TabletEnter(QTabletEvent* event);
    void TabletLeave(QTabletEvent* event);

    // The toolbar (app/ui/dialog_toolbar_*.cpp): the button table and the
    // style sheets made from it, the button states, and the layout of the bar
    // by position and collaboration role.
    QVector<ButtonRecord> ButtonTable;
    QStringList NoteSubBtnKeys;
    QStringList ColorSubBtnKeys;
    QStringList DrawSubBtnKeys;
    QStringList EraseSubBtnKeys;
    QStringList ObjectSubBtnKeys;
    QStringList ZoomSubBtnKeys;
    QStringList ViewLocationSubBtnKeys;
    void SetButtons();
    void AppendTextRecord(QString key, QString group, QString stem, QString tooltip, QString disabledA,
                          QString disabledB);
    QString MakeButtonStyleSheet(QString key, QString& tooltip);
    void SetButtonStyle(QPushButton* button, int width, int height, QString key);
    void SetSeparatorStyle();
    // Placement values, set once by the second stage from the canvas size.
    float m_scale = 1.0f;  // interface scale; nothing changes it
    int m_canvasLeft = 0;
    ToolbarPlacement m_placement;
    int m_scrollBarThickness = 20;
    int m_widthSliderOffset = 40;
    QPoint m_floatingPosition;
    // The 31 toolbar widgets in bar order, filled once by SetButtonStates.
    QVector<QWidget*> m_toolbarButtons;
    // The last choice of each sub-button row.
    QString m_noteKind;
    QString m_eraseKey;
    QString m_selectKey;
    QString m_zoomKey;
    QString m_viewLocationKey;
    // Menu actions the toolbar keeps in step; null until the menus exist.
    QAction* m_toolPosActions[5] = {};  // bottom, top, left, right, floating
    QList<QAction*> m_editActions;      // Cut .. Reset, twelve
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_moveHereAction = nullptr;
    QList<QAction*> m_fileActions;  // New, Open, Save, Save As
    QMovie* m_loadingMovie = nullptr;
    // The buttons of the open sub-button row, in key order.
    QList<QPushButton*> m_subButtons;
    void SetButtonStates();
    void SetModeButtonStates();
    void SetEditActionEnable(int state);
    void UpdatePrevNextButtons();
    void SetToolbarPosition();
    void SetToolbarByRole(int level, bool force);
    // The role rows of the launcher's panels' own buttons; `column` is the
    // role table's column (alone, viewer, writer with and without the tool
    // right, host with and without it, no collaboration library).
    void SetPanelButtonsByRole(int column, bool floating);
    void ShowLoading();
    void HideLoading();
    void SetTollPosEnable();
    void PlaceScrollBars();
    void PlaceSubButtonRow(QWidget* button);
    void SetPageButtonsEnabled(bool previous, bool next);
    // Sub-button rows and tool commands (app/ui/dialog_sub_buttons.cpp,
    // app/ui/dialog_tool_commands.cpp, app/ui/dialog_panel_commands.cpp).
    QSignalMapper* m_rowMapper = nullptr;
    QColor m_ownColor{Qt::black};      // the colour last picked from the row
    int m_penWidth = 2;                // width while transparency is off
    int m_penWidthStored = 2;
    int m_companionWidth = 7;          // pen width + 5
    int m_strokeMargin = 3;            // width / 2 + 2, around a repainted segment
    // Instruments and preview visible when window mode began: compass,
    // protractor, ruler, blind, spot.
    bool m_windowModeInstruments[5] = {};
    bool m_windowModePreview = false;
    bool m_previewHidden = false;      // the preview switched off during a recording
    void BuildSubButtonRow(const QStringList& keys, QPushButton* beside, const char* clickSlot);
    // The shared long press of toolbar buttons: true when the press was taken
    // as (part of) a hold, so the caller does not run its click action.
    bool LongPressTaken(QPushButton* button, std::function<void()> poll, std::function<void()> openRow);
    void CheckToolButton(QPushButton* button);
    void ApplyToolCursor(int kind);
    void ChangePenWidth_Send(bool send);
    void ApplyTransparency(bool on);
    void StepNote(int direction, bool remote);
    void DrawInstrumentFigure(int kind, const QString& key, const std::function<void(int slot)>& replay);

    // The USB pen-module link (app/ui/dialog_usb_link.cpp): opened once,
    // started in board mode, stopped in window mode, closed at teardown.
    void OpenUsbDevice();
    void StartUsbLink();
    void StopUsbLink();
    void SendUsbCommand(quint32 command, const void* payload, int length);
    // Stops the link (or tells the pen driver "Window"), lets queued packets
    // go out, releases and closes the module and ends the USB library.
    void ShutdownUsbLink();
    // The count the pen driver's configurations give: not 0 means the driver
    // has the module.
    int PenDriverDeviceCount() const;
    int m_usbEndpoint = -1;             // read once when the module opens
    UsbSender* m_usbSender = nullptr;   // lives while the module is open

    // Background jobs (app/ui/dialog_jobs.cpp). A job is an entry taking its
    // owner, run once on the global pool and watched by one of the watchers.
    using JobEntry = void (*)(void*);
    static QFuture<void> DialogWorker(JobEntry entry, void* owner);
    // A job that reads the board gets a snapshot taken here, on the GUI
    // thread, and runs on the pool under `watcher`.
    JobSnapshot TakeJobSnapshot() const;
    void StartSnapshotJob(QFutureWatcher<void>& watcher, std::function<void(const JobSnapshot&)> job);
    // Polls the watcher in 100 ms sleeps on the calling thread, at most
    // `limit` times, then sleeps `settleMs` more when the job ended in time.
    // Writes the wait's log lines and returns the count of sleeps.
    int WaitForJob(const QFutureWatcher<void>& watcher, int limit, int settleMs);
    // Puts back the view the note-image and contents-save starters kept.
    void RestoreSavedView();
    int m_afterProjectSave = 0;         // 0 nothing, 1 close, 2 open another, 3 new lecture
    bool m_projectSaveResult = false;   // the archive was written
    QString m_previousProjectPath;
    bool m_openOutput = false;          // ThreadSaveFinished offers the output
    bool m_liveDisplay = true;          // false: paint the saved view image
    QImage m_savedBackgroundImage;
    QString m_outputFolder;             // what the contents-save job wrote
    QString m_outputFileName;
    QString m_outputPath;

    // Teardown (app/ui/dialog_teardown.cpp).
    void ShutdownDialog();
    static void ForgetInstance(Dialog* dialog);
    void OptStopBtn();
    bool m_shutdownDone = false;
    int m_shutdownWaitCount = 0;        // the destructor's wait, for the log

    // --- canvas: board model, pointer input, drawing ------------------------

    // Board records and per-slot state (board/ui/dialog_board_model.cpp).
    BoardModel m_board;
    TouchSlotTable m_touchSlots;
    // Pen-driver touch positions; a mouse release exactly on one of them is
    // a copy of that touch and is dropped.
    QPoint m_touchPoints[kPointerSlotCount];
    void InitBoardModel();
    int ClaimTouchSlot(int touchId);
    void ReleaseTouchSlot(int index);
    int TouchPointSlot(int touchId);
    int CheckTouchPointIndex(int x, int y);

    // The current page and its images. The canvas image is the page layer:
    // the background and every finished object of the page at the current
    // zoom, the whole page. The view image is what the window shows: the
    // layer's visible part with what is live painted over it. The backup
    // image is the view without the selection, kept for dragging it.
    NoteInfo m_curr_note;
    QImage m_backgroundImage;
    QImage m_viewImage;
    QImage m_backupImage;
    QImage m_canvasImage;
    QImage m_targetImage;
    QColor m_boardFillColor{Qt::white};
    double m_zoom = 1.0;
    int HorizontalScrollValue() const;
    int VerticalScrollValue() const;
    bool VerticalScrollBarVisible() const;
    QPointF ToDocument(QPointF widget) const;

    // Pointer primitives (board/ui/dialog_pointer.cpp). Every input source
    // and every peer's stroke ends in these three.
    void PointerPress(int slot, int x, int y, bool local, bool usePressTime);
    void PointerMove(int slot, int x, int y, bool local, bool usePressTime);
    void PointerRelease(int slot, int x, int y, bool local, bool usePressTime);
    void SetPointerCursor(double angle, int a, int b, int c, int d);
    void RubberBandRect(int slot, int phase);
    void ShowCaptureOverlays(bool show);
    void HideCaptureOverlays();

    QElapsedTimer m_strokeClock;
    int m_strokeCounterA = 0;
    int m_strokeCounterB = 0;
    QPointF m_pressPosition;
    QPointF m_lastMovePosition;
    bool m_multiPointer = false;
    QStringList m_pendingNewcomers;

    // Selection editing state read by the primitives: the frame may be on
    // the view; the frame rectangle (widget pixels); what a press grabbed.
    bool SelectionFrameShown = false;
    QRect SelectionRect;
    SelectionState m_selectionState;
    QStringList m_select_id_str;
    QStringList NoteObjectKeys;
    int SelectionEditMode = 0;  // 0 none, 1 move, 2 resize, 3 rotate
    int SelectionHandle = 0;    // 1..4 corners, 5 rotation, 6 body, 7..10 edges
    float SelectionAngle = 0.f;
    double RotateAngle = 0.0;   // the angle shown while turning
    bool LockX = false;         // a vertical arrow keeps its x
    bool LockY = false;         // a horizontal arrow keeps its y

    QRubberBand* m_rubberBand = nullptr;
    QLabel* m_cursorLabel = nullptr;
    QLabel* m_statusLabel = nullptr;

    // Options switched from the master-mode dialog (with interpolation and
    // antialiasing above).
    bool m_debugMode = false;
    bool m_collPacketLog = false;
    bool m_cursorImage = false;

    // Windows hidden while an area of the screen is captured.
    QList<QWidget*> m_floatingTools;
    QList<bool> m_floatingToolsVisible;
    QWidget* MainBar() const;

    // Local input (board/ui/dialog_mouse_input.cpp).
    bool m_mousePressed = false;
    int m_mouseSlot = 0;
    QPoint m_referencePoint;
    // A mouse or pen press, in the slot the own level gives it.
    void PressLocalPointer(int x, int y);

    // The drawing step and the page painters (board/ui/dialog_stroke_step.cpp).
    void DrawStrokeStep(int slot, int kind, int restorePreview, bool local, bool keepMediaPos);
    void PaintImageTransformed(const QString& imagePath, const EventDetail& detail, bool toSecondImage);
    void PaintScaledImage(const QString& imagePath, QRectF target);
    void DrawGuideLines(int x1, int y1, int x2, int y2, int index, int extra);
    void ShowStatusCoords(int x, int y);
    SpecialPen m_specialPen;
    QColor m_fillColor{Qt::black};
    QColor m_currentPenColor{Qt::black};
    // The tablet pressure of the latest sample in steps of 1/kPressureLevels,
    // and the pressure width one step stands for.
    static constexpr int kPressureLevels = 1000;
    int m_pressureLevel = 0;
    double m_pressureScale = 1.0;
    double m_tabletPressure = 0.0;
    double m_prevTabletPressure = 0.0;

    // Live segment painters (board/ui/dialog_segment_paint.cpp).
    void PaintFreePenSegment(int slot);
    void PaintBrushSegment(int slot);
    void PaintLastSegment(int slot);
    void UpdateLastSegmentRect(int slot);
    void RestoreImageRegion(int slot, int margin);
    SegmentPaintOptions PaintOptions() const;

    // Figures and the selection frame (board/ui/dialog_figures.cpp).
    void LinePath(QPainterPath& path, QPointF start, QPointF end, bool bothHeads, bool setPoints, int slot);
    void RotatedObjectFrame(QRect r);

    // Recording (tools/ui/dialog_recording.cpp). m_bRecording: a camera or
    // sound recording runs, and the board stamps its records with m_rec_time;
    // m_bScreenRecording: a screen recording runs; the clock worker loops
    // while m_bRecClock is set.
    bool m_bRecording = false;
    bool m_bScreenRecording = false;
    // Capture devices: the lists the capture tool reported and the current
    // choice (tools/ui/dialog_devices.cpp).
    QStringList m_cam_list;
    QStringList m_mic_list;
    QString m_cam_name;
    QString m_mic_name;
    // Starts the capture library's listing on a pool thread; the lists (and
    // the settings dialog, the recording panel and the chosen devices) are
    // filled when it ends, or when a recording start needs them first.
    void ParseDeviceInfoLog();
    void FinishDeviceListing();
    QFutureWatcher<tools::DeviceLists> m_deviceListing;
    bool m_deviceListingPending = false;
    bool m_deviceListingConnected = false;
    // The clock starts once the recorder reports its first progress and is
    // moved back by the time the recorder had already written.
    tools::RecordingClock m_rec_time;
    double RecordingElapsedMs() const;
    // Read by the clock worker on its pool thread.
    std::atomic<bool> m_bRecClock{false};
    bool m_recordingStarting = false;  // a start waits for its recorder
    static void RecTimeWorker(Dialog* dialog);
    // Our copy of the recorder in the work folder, made when missing. False
    // when there is no recorder program at all.
    bool CopyRecorderToWorkFolder();
    // Ends the recorders this copy started, and one an earlier run of it left
    // behind, and waits for them to be gone; never another copy's.
    void EndOwnRecorders();
    // Moves recordings that an ended run left in the work folder into the
    // recording folder; what it did is told once the window shows.
    void RecoverLeftRecordings();
    void ReportRecoveredRecordings();
    QString m_recoveredRecordingsNote;
    // The running recorder, watched while a recording runs: when it ends by
    // itself the recording ends too, with what was recorded saved.
    tools::ProcessStamp m_recorder;
    QTimer* m_recorderWatch = nullptr;
    void RememberRecorder(const QString& recordingName);
    void WatchRecorder();
    // Stops the recording and saves it; `failure` says why the recorder
    // ended on its own, empty for a stop the user asked for.
    void EndRecording(const QString& failure);
    bool m_handOffWaiting = false;  // a handed-over project waits for a recording's save
    // Stops a running recording and waits for its save, events flowing;
    // false when the save did not end in time.
    bool StopRecordingForHandOff();
    // Objects already on the board count as there from the start.
    void PrepareRecordingTimeline();
    // Waits on the GUI thread, events flowing, for the recorder's first
    // progress line; its time text, or empty when none came in time.
    QString WaitForRecorderProgress();
    // The dual-screen refusal and the confirmation before a start.
    bool ConfirmRecordingStart(int type);
    // The "Save as" target when the settings ask for one; false when the
    // user chose none.
    bool ChooseRecordingTarget(int type);
    // Where a start that did not come through leaves the controls.
    void ShowRecordingStartFailure();
    // The main menu's entries 0 to 13, all of them.
    void SetMainMenuEnabled(bool enabled);

    // Hand-overs to parts of the board that are built elsewhere
    // (board/ui/dialog_handover_stubs.cpp).
    void ShowPointerDebug(int mode, int slot, int x, int y);
    void InsertCaptureImage(int slot);
    void OptRightMenu();

    // Smart pen (board/ui/dialog_smart_pen.cpp): the window's one recogniser,
    // and the flag held while a recognised figure is replayed, so that the
    // replayed press draws the figure instead of starting a smart capture.
    ShapeRecognizer m_shapeRecognizer;
    bool m_smartReplay = false;
    void RecognizeSmartPen(int slot);

    // The capture library's camera preview, placed by UpdatePreview
    // (board/ui/dialog_camera_preview.cpp). The window is the library's: a
    // guarded pointer, so that a preview it closed reads as not found.
    QPointer<QWidget> m_previewWindow;
    QRect m_previewRect;
    float m_interfaceScale = 1.0f;
    QTimer* m_previewTimer = nullptr;  // the lookups 200 ms apart, then 100 ms before raising
    int m_previewLookups = 0;
    bool m_previewRaisePending = false;
    QRect PreviewScreen() const;
    QWidget* FindPreviewWindow();
    void LookForPreview();
    void RaisePreview();
    void ClickMainBar();

    // --- canvas: pages, backgrounds and the view ----------------------------

    // The note list and the current page (board/ui/dialog_note_pages.cpp).
    QVector<NoteInfo> m_note_list;
    int m_note_idx = 0;
    int m_note_cnt = 0;
    int m_import_first_idx = 0;
    // Page size in pixels (the whole page at zoom 1.0) and the part of it
    // that page sources are fitted into.
    int m_view_width = 0;
    int m_view_height = 0;
    QRect m_contentArea;
    // Pages shown while a recording runs.
    QStringList m_rec_note_names;
    QStringList m_rec_note_stamps;
    QStringList m_rec_note_times;
    QVector<int> m_rec_note_index;
    QStringList m_rec_distinct_stamps;
    // The view kept while pages are rendered away from the screen.
    QImage m_savedViewImage;
    NoteInfo m_savedNote;
    double m_savedZoom = 1.0;
    int m_savedHScroll = 0;
    int m_savedVScroll = 0;
    QString m_currentProjectPath;
    QString m_contentsName;
    QString m_recordFilePath;
    QString m_recordAudioPath;

    void CreateNotePage(int type, QString name, QString path, bool page_option);
    void ReleaseIdlePictures();
    void ResetBoard(bool full);
    void UpdatePageLabel(bool redraw, int peer_index, int peer_count);
    QString MakeTimeStampId();
    QString MakeFileTimeStamp();
    void SelectAllOnNote();
    int CompareKeyLists(QString stamp);
    void ResetSelection();
    bool ScaleImageToView(float scale);
    void NoteChangeWorker();
    void PushCurrentPage();
    void SaveCurrentNoteImage(bool redraw);
    void UpdateViewSize();
    void MakeBlankPage();

    // The page background (board/ui/dialog_page_background.cpp).
    QImage m_alternativeImage;
    double c_scale = 1.0;
    int m_widPage = 0;
    int m_hgtPage = 0;
    QRect m_pictureRect;
    QSize m_hostBoardSize;  // announced by the host; 0 until then
    // The page navigator window(s), hidden whenever a new background is laid.
    QList<QWidget*> m_pageNavigators;
    void SetInitImage(QString path, int type, bool alternative);

    // Page rendering (board/ui/dialog_page_render.cpp).
    QStringList m_mediaFiles;  // the media list, indexed by StrData
    void RedrawPageObjects(bool withSelected);
    void PaintEllipseFigure(EventMaster em, EventDetail ed, bool toTarget);
    void PaintPathFigure(int slot, EventDetail ed, QVector<FreePenPoint> points, bool toTarget);
    void PaintLineFigure(int slot, EventDetail ed, QVector<FreePenPoint> points, bool toTarget);
    void RedrawAllPages();
    void ResizePageImage(QImage& image, QSize size);
    PageRenderOptions RenderOptions() const;

    // Zoom and view (board/ui/dialog_view.cpp).
    QImage m_zoomBaseImage;
    bool m_showPageImage = true;   // cleared while a note image job borrows the view
    QRect m_paintRect;
    bool m_recordZoom = false;
    QSet<int> m_heldKeys;
    void ZoomByScale(float value);
    void ZoomToRect(int x1, int y1, int x2, int y2);
    void UpdateZoomText(int x1, int y1, int x2, int y2);
    FittedSize FitSizeCentered(int boxW, int boxH, int contentW, int contentH) const;
    FittedSize FitSizeToView(int w, int h) const;
    void AppendViewRecord(int kind);
    void ConnectPageView();
    void ShowVisiblePart(int x, int y);
    bool m_pageViewConnected = false;
    bool m_settingView = false;  // the zoom is moving the scroll bars itself
    // Shows the page navigator above 100 % and hides it at or below
    // (tools/ui/dialog_page_navigator.cpp).
    void ShowPageNavigator();
    // Keeps the floating launcher above a cover that spans the whole screen.
    void KeepLauncherAbove();

    // Touch, tablet and keys (board/ui/dialog_input.cpp).
    bool m_penDown = false;
    QPointF m_tabletPosition;
    QPointF m_prevTabletPosition;
    double m_tabletRotation = 0.0;
    double m_prevTabletRotation = 0.0;
    bool GestureHold = false;
    qreal m_gestureAcceleration = 0;
    bool m_subButtonRowOpen = false;
    QRect m_subButtonRowRect;
    bool TouchLandsOnControls(QPoint p) const;

    // Hand-overs to the toolbar, the panels, editing and collaboration, which
    // are built elsewhere (board/ui/dialog_handover_stubs.cpp).
    void SetFreePenMode(bool allSlots);
    void ClearSelection();
    void ClearSubBtn();
    void SetNoteNaviEnable();
    void SetPageLabelGeometry(bool useGiven, int index, int count);
    void SetPageNaviEnable(int index, int count);
    void ShiftNoteIndexes();
    void InsertImageObject(QString path, int select, QString text);
    void SetDisplayData(int value);
    void Coll_Send_ImgPath(int mode, QString userId, int value);
    void HidePagePanels();
    void ResetToolbarForNewBoard();

    // The page layer and what is live over it (board/ui/dialog_page_layer.cpp).
    // Finished objects are painted into the layer once; the view is cut out
    // of it, and live ink (strokes in progress, their tails, figure
    // previews) is taken back from small patches or from the layer.
    struct LivePatch {
        QRect rect;  // window coordinates; empty when nothing is kept
        QImage pixels;
    };
    LivePatch m_liveTail[kPointerSlotCount];
    LivePatch m_previewPatch[kPointerSlotCount];
    QRect m_liveInkRect[kPointerSlotCount];  // where each slot's stroke has painted since its press
    QRect m_staleViewRect;  // finished ink still shown live while other pointers draw
    int m_fullRedrawCount = 0;
    int m_layerRepaintCount = 0;  // full redraws and repaints of parts of the layer
    // What the layer holds object by object, so that removing, restoring or
    // changing a few objects repaints only where they are.
    PageLayerContents m_layerContents;
    // How the layer's strokes were painted; a redraw paints every stroke
    // with these, so when they change the layer is rebuilt.
    PageRenderOptions m_pageLayerOptions;
    bool m_pageLayerHighlight = false;
    void KeepPageLayerOptions();
    bool PageLayerOptionsChanged() const;
    void KeepPageLayerContents();
    bool PageLayerContentsCurrent() const;
    void RedrawChangedObjects();
    QRect PageViewRect() const;
    void ShowEmptyPage();
    void ShowPageLayer();
    void ShowPageLayerRect(QRect windowRect);
    QRect PaintObjectIntoLayer(int slot, const EventMaster& em);
    void ShowFinishedObject(int slot, int objectsBefore, int pressedCount);
    void NoteLiveInk(int slot, QRect rect);
    void SaveLivePatch(LivePatch& patch, QRect rect);
    QRect TakeBackLivePatch(LivePatch& patch);
    void ForgetLiveInk(int slot);
    void DrawLiveTail(int slot, bool brush);
    void PaintImageInto(QImage& target, const QString& imagePath, const EventDetail& detail);

    // --- editing: selection and undo/redo -----------------------------------

    // Object creation and the undo list (editing/ui/dialog_object_create.cpp).
    UndoList m_undo;
    bool m_boardModified = false;
    // The pages' Create keys when the note list opened.
    QStringList m_noteOrderAtListOpen;
    // The session has emptied this participant's board for the host's (the
    // connection was made); until then a failure leaves the board alone.
    bool m_collBoardTaken = false;
    bool m_hostResetAgreed = false;  // the host has answered "save first?" for this end
    QString m_loadDamageReport;  // what the last open found damaged, for the user
    void CreateObjectEvent(int slot, int mediaIndex);

    // Picking, the selection frame and moving the selection
    // (editing/ui/dialog_selection.cpp, editing/ui/dialog_move.cpp). The
    // frame is painted over the view only; the page layer never holds it, so
    // the layer is what takes a frame back off the view.
    QVector<QPoint> SelectionPolygon;     // corners of SelectionRect, widget pixels
    QPoint RubberBandCorners[4];          // the turned frame last drawn by a resize or pinch
    QPoint MovePressPoint[kPointerSlotCount];  // where each slot's move drag began
    QRect GroupRectSum;                   // the previous bounds of one move step, united
    BoardView CurrentBoardView() const;
    void SelectObjectAtPoint(int x1, int y1, int x2, int y2, bool erase);
    void SelectObjectsInArea(int x1, int y1, int x2, int y2, bool erase);
    void CalcSelectionRect();
    void RestoreFrameArea(QRect rect, int mode);
    void Modify_Move(int slot, int phase);
    // Selects the picked objects (the frame follows the one picked last) or,
    // with erase, deletes each as one undo step of its own.
    void ActOnPickedObjects(const QVector<PickedObject>& picked, bool erase);

    // The edit menu and the object clipboard (editing/ui/dialog_edit_menu.cpp).
    // Each paste of one copy lands 10 pixels further right and down.
    int PasteCount = 0;
    void CopySelectedObjects(bool cut);
    void PasteObjects();
    // Deletes the object as place `place` of a deletion step of `size`
    // objects: its undo entry, its erase event, the peers' message.
    void DeleteObjectInStep(const QString& key, int place, int size, double mediaPos);
    void RestackSelection(StackMove move);

    // Undo and redo (editing/ui/dialog_undo.cpp): both commands in one walk.
    void RunUndoCommand(bool redo);
    // The area eraser, move all and erase all (editing/ui/dialog_whole_note.cpp).
    // The area eraser wipes what one pointer movement crosses; erase is
    // always true.
    void EraseObjectsAlongPath(int x1, int y1, int x2, int y2, bool erase);
    // One move-all step of the slot's pointer; the release makes the undo step.
    void UpdateMoveAll(int slot, bool release);
    // Erase deletes every object of the note but images as one step; false
    // only shows the bare page.
    void NoteEraseAll(bool erase);
    // While a move-all drag runs, the note's objects are painted once into a
    // layer of their own, which each step lays over the page at the drag's
    // offset; the release paints them from their records again.
    QPoint m_moveAllTotal;        // the drag so far, widget pixels applied as document pixels
    QImage m_moveAllLayer;
    QPoint m_moveAllLayerBase;    // the total when the layer was painted
    int m_moveAllLayerRedraws = -1;  // the layer repaint count it was painted at
    void PaintMoveAllLayer();
    void ShowMoveAllLayer();

    // Resizing and turning the one selected object with the frame's handles
    // (editing/ui/dialog_resize.cpp). During a drag only a light grey
    // preview frame follows the pointer; the release changes the object as
    // one undo step. FrameCorners hold the working corner in widget pixels
    // while a resize drag runs and document pixels again after its release.
    QPoint LastPointerPoint;  // the last position a resize drag was given
    QRect ResizeOldBound;     // the object's bounds before the last resize
    ResizeGrip CurrentResizeGrip() const;
    void ResizeMove(int x, int y);
    void ResizeRelease(int slot, int x, int y);
    void ResizeView(int cx, int cy, QRect frame);
    // Applies FrameCorners to the selected object; false when nothing changed.
    bool ResizeSelection();
    void RotateMove(int x, int y);
    void RotateRelease(int slot, int x, int y);
    // Turns the selected object to the angle (RotateAngle and SelectionAngle
    // follow it) as one undo step; nothing when it is gone or already there.
    void RotateSelection(double angle);
    // The preview frame: `frame` turned by `angle` about `centre`, painted
    // over the view after the previous preview is taken off.
    void ShowTurnedPreview(QRect frame, double angle, QPoint centre);
    // Takes the selection frame off the view; the first preview of a drag
    // starts from a clean page.
    void StartPreviewFromFrame();
    // The one selected object's slot and EventID, when the selection holds
    // exactly that object.
    bool SingleSelectedObject(int* slot, quint16* eventId) const;

    // The two-finger pinch on the one selected object
    // (editing/ui/dialog_pinch.cpp). Dialog::event hands the pinch gesture's
    // progress to PinchGesture; the finish turns, then scales the object.
    QRect PinchBaseRect;      // the object's frame when the pinch began, document pixels
    double PinchAngle = 0.0;  // the pinch's turn so far, degrees
    double PinchScale = 1.0;  // the pinch's total scale factor
    bool GestureActive = false;
    QString PinchKey;         // the object the pinch began on
    // Ends a pinch that changes nothing: the frame of what is selected now.
    void EndPinchWithoutChange();
    void PinchGesture(Qt::GestureState state, double totalScale, double rotation, double lastRotation);
    void DrawGestureFrame(double scale, double angle);
    void CommitGestureRotate(double angle);
    void CommitGestureScale(double scale);

    // --- storage: settings, language, projects, PDF -------------------------

    // Settings.
    ConfigInfomation m_config;
    // The configured background picture, read once whenever the setting
    // names another file (storage/ui/dialog_config.cpp); null when unset or
    // refused, and then board pages show their colour.
    void ReadBackgroundPicture();
    QString m_backgroundPicturePath;
    QImage m_backgroundPicture;
    QString m_commonAppDataFolder;
    QString m_workFolder;              // ends with a separator
    QString m_configFilePath;
    QString m_currentProjectFolder;
    int m_rec_type = 3;                // the type of the current or last recording; the setting until one starts
    QColor m_blackboardColor{25, 74, 57, 255};

    void LoadConfig(bool bInit);
    void SetFileFilters();

    // The settings dialog, made by the second-stage initialisation. A reset
    // from it waits here until the dialog is confirmed: until then the live
    // record stays as it is.
    ConfigDlg* m_configDlg = nullptr;
    bool m_configResetPending = false;
    ConfigInfomation m_configResetRecord;

    // Projects (storage/ui/dialog_project.cpp). What the end of a project
    // save does next is m_afterProjectSave (the jobs' group). The save job
    // reads only the snapshot, the target and the stamp its starter took.
    static void ProjectSaveThreadEntry(void* owner);
    static void ProjectLoadThreadEntry(void* owner);
    storage::ProjectSnapshot TakeProjectSnapshot();
    void SaveProject();
    void SaveEventsXml(QString stamp);
    void SaveNotesXml(QString folder);
    void SaveStrData(QString folder);
    void LoadProject();
    void StartProjectLoad(QString path);
    void StartNewLecture();
    QMessageBox::StandardButton AskToSaveChanges(QWidget* parent);
    // Saves before the board is replaced and waits for the save (bounded);
    // true only when the project was written.
    bool SaveAndWait(int action, bool saveAs);
    // Before the board is reset: "save first?" when it holds unsaved
    // changes; Yes saves and waits. False (Cancel, a failed or cancelled
    // save) means the reset must not happen.
    bool OfferToSaveBeforeReset();
    // Waits (bounded) for a save already running, then `settleMs` more;
    // false, after telling the user, when it is still running.
    bool WaitForRunningSave(int settleMs = 0);
    void ReportProjectSaveFailure();
    void Coll_Send_InitProj(int mode, QString userId, bool flag);
    storage::ProjectSnapshot m_projectSnapshot;
    QString m_projectSaveTarget;       // the file the running save writes
    QString m_defaultProjectName;      // the save stamp, renewed per save
    QString m_lastSaveFolder;          // of the last file chosen in the save dialog
    QString m_projectStaging;
    QString m_projectStagingError;
    QString m_projectSaveError;        // why the last save failed, for the user
    bool m_projectSaveStarted = false; // the last save command started the job
    // The end of the last save command has been handled. Each end is handled
    // once, for its own save: a wait that sees the job end handles it at
    // once, so the watcher's finished() that follows, queued, finds nothing
    // to do and cannot take a newer save's snapshot or action.
    bool m_projectSaveEndHandled = true;
    bool m_legacyProject = false;      // the board came from a ".vj" project
    // Project loading (storage/ui/dialog_project_load.cpp). The load job
    // reads only the request its starter made and writes only the job's
    // result; the board, the note list and the media list are replaced as a
    // whole on the GUI thread when the job has ended, so the window never
    // paints or edits a half-loaded board.
    struct ProjectLoadJob;
    std::shared_ptr<ProjectLoadJob> m_projectLoadJob;
    // Puts the loaded project in place; the text for the user when the file
    // could not be read, else empty.
    QString InstallLoadedProject();
    // Waits (bounded) for a running load before the board is replaced again.
    bool WaitForRunningLoad();
    // What every page of a project being opened is painted on, and how.
    BackgroundRequest ProjectLoadBackground() const;
    PageRenderOptions ProjectPageOptions() const;
    // The page image files of the lesson last opened that are still to be
    // painted, and the worker painting them (storage/page_image_backlog.h).
    std::shared_ptr<storage::PageImageBacklog> m_pageBacklog;
    QFuture<void> m_pageBacklogJob;
    void StartPageBacklog(const storage::LoadedProject& lesson, const BackgroundRequest& background,
                          const PageRenderOptions& options, bool rendererAvailable);
    // Waits until every page of the lesson has its page image file; what
    // reads those files (note list, project thumbnail, contents package)
    // calls it first.
    void FinishPageImages();
    // The worker stops and lets go of the lesson it was painting.
    void StopPageBacklog();
    // Writes a page image file of the window's own; the worker leaves it be.
    void WriteNotePageImage(const QImage& image, const QString& path);

    // The contents package a recording leaves (storage/ui/dialog_contents.cpp).
    // StartContentsSave is where the recording stop hands over once the
    // recorder has stopped: it does the board's part on the GUI thread and
    // starts the job, which reads only what was copied for it.
    void StartContentsSave();
    storage::ContentsSaveInput TakeContentsInput();
    static void ContentsSaveThreadEntry(Dialog* owner, const JobSnapshot& snapshot,
                                        const storage::ContentsSaveInput& input);
    void SaveContents(const JobSnapshot& snapshot, storage::ContentsSaveInput input);
    QString m_rec_file;                // base name of the recorder's output
    // A target chosen before the recording: full path, file name, folder.
    QString m_iic_SaveAs_PathName;
    QString m_iic_SaveAs_FileName;
    QString m_iic_SaveAs_Folder;
    // What the job wrote: the package, or the moved screen video.
    QString m_saved_name;
    QString m_saved_folder;
    QString m_saved_path;
    QString m_rec_saved_name;
    QString m_rec_saved_folder;
    QString m_rec_saved_path;
    bool m_pdf_ok = true;
    QString m_pdf_error;
    QString m_contentsSaveFailure;     // for the user, shown when the job ends

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

    // PDF libraries: the renderer and the exporter are bound once by the
    // constructor (renderer first) into the process-wide bindings; a library
    // that fails is reported in a box and stays unbound for the run.
    void LoadPdfRenderer();
    void LoadPdfExporter();
    // Window teardown: closes the renderer's page and document, then ends it.
    void ClosePdfRenderer();
    storage::PdfRendererLibrary& m_pdfRenderer = storage::SharedPdfRenderer();
    storage::PdfExporterLibrary& m_pdfExporter = storage::SharedPdfExporter();
    bool m_pdfRendererBound = false;
    bool m_pdfExporterBound = false;
    // The renderer's open document: handles 0, page count 0 and current page
    // -1 when none is open. At most one document and one page are open.
    int m_pdfDocument = 0;
    int m_pdfPage = 0;
    int m_pdfPageCount = 0;
    int m_pdfCurrentPage = -1;
    // Document opening: the path last chosen, the dialog's next start path.
    QString m_documentOpenPath;
    // What the document-open command does with a chosen path: a picture
    // becomes a note page, a PDF goes to the import form.
    void OpenChosenDocument(const QString& path);

    // Note export and print (storage/ui/dialog_note_export.cpp). The job
    // reads only m_noteJob, copied from the board when it starts, and paints
    // each note into images of its own: the board and the view stay as they are.
    static void NoteSaveThreadEntry(void* owner);
    void SaveNoteImages();
    // What the page background of a note is built from on this board.
    BackgroundRequest PageBackgroundRequest(const QString& path, int type, bool alternative) const;
    // One message after a job for what it could not write or print.
    void ReportNoteJobFailures();
    storage::NoteExportJob m_noteJob;
    int m_printJobCount = 0;   // pages printed into the print folder so far
    int m_printFailures = 0;   // pages of the running print job that did not print

    // Document import (storage/ui/dialog_import.cpp): the help shown first
    // and the page-range import form, made once by the second stage.
    ShowImportMsg* m_showImportMsg = nullptr;
    ImportDlg* m_importDlg = nullptr;
    void ShowImportMsgOrOpen();

    // The event export "New_Event.xml" (storage/ui/dialog_event_export.cpp):
    // the record list the contents save fills, orders and writes; its note
    // list is m_rec_distinct_stamps (CompareKeyLists). A full board reset
    // empties both.
    QVector<ToGroupRecord> m_toGroupRecords;
    void BuildToGroupRecords();
    void AppendToGroupRecord(int slot, double key, int eventId, int code, float bx, float by, float bw, float bh,
                             float nx, float ny, float nw, float nh, float angle, QColor colour, float penWidth,
                             int transparency, int noteIndex);
    void AddTimedStrokeRecords(int slot, int eventId, QColor colour, float penWidth, int kind, int transparency,
                               float scale, int hScroll, int vScroll, int noteIndex);
    void AddUntimedStrokeRecords(int slot, int eventId, QColor colour, float penWidth, int kind, int transparency,
                                 QRectF bounds, float angle, float scale, int hScroll, int vScroll, int noteIndex);
    void AddMovedStrokeRecords(int slot, double time, int eventId, QColor colour, float penWidth, int kind,
                               int transparency, QRectF oldRect, QRectF newRect, float angle, float scale,
                               int hScroll, int vScroll, int noteIndex);
    void AddEraseRecords(int slot, int eventId, double time, float scale, int hScroll, int vScroll, QRectF area,
                         int noteIndex);
    void AddModifySnapshot(int eventId, double time, float scale, int hScroll, int vScroll, QRectF area,
                           bool withArea, int noteIndex);
    void AddModifyRecordsAt(int slot, int eventId, double time, float scale, int hScroll, int vScroll,
                            int noteIndex);
    // The objects of note `noteIndex` in `slot` standing at media time `t`
    // inside the rectangle, appended as records at t + 10.
    void ObjectGeometry(int slot, double t, int noteIndex, float rx, float ry, float rw, float rh);
    void SortToGroupRecords();
    bool SaveNewEventXml(QString folder);
    EventExportBuilder MakeEventExportBuilder();

    // --- screen tools: window mode, screen capture, the context panel -------

    // The context panel (tools/ui/dialog_context_panel.cpp).
    bool BoardHasRecords() const;
    void UpdateContextPanelActions();
    // The way back from window mode and the captures
    // (tools/ui/dialog_window_mode.cpp). One switch shows or hides the tray
    // icon, or where the desktop has no tray, the "WindowMode" window.
    void ShowWindowModeReturn(bool show);
    QWidget* m_windowModeWindow = nullptr;
    QScreen* BoardScreen() const;
    void LetScreenSettle(int ms);
    // The desktop as the captures take it; null with `error` set when there
    // is no screen.
    QPixmap GrabDesktop(QString* error) const;
    // Stands in for the window system's grab when set (a test's screen).
    std::function<QPixmap(QString* error)> m_desktopGrabber;
    QString NewCapturePath() const;
    void ShowBoardAgain(bool withLauncher);
    void ShowHostUserList();
    void ShowWindowModeInstruments();
    // Areas cut out of a frozen screen (editing/ui/dialog_capture_image.cpp).
    QList<QRect> CaptureRects;
    // The select tool once a picture is on the page: slots 0 to 9 alone or as
    // host, slot 10 as viewer or writer.
    void UseSelectToolAfterImage();
    void EndScreenCapture();

    // --- collaboration ------------------------------------------------------

    // Session state read by the drawing code (collab/ui/dialog_frame.cpp).
    bool m_collConnected = false;
    int m_collUserLevel = 0;  // 0 alone, 1 viewer, 2 writer, 3 host
    QStringList m_localIpv4Addresses;
    // The common sending path (collab/ui/dialog_send.cpp): the session
    // socket as the library hands it out now (null while no session is
    // open), one frame built and written once.
    QTcpSocket* Coll_SessionSocket();
    void Coll_WriteFrame(QTcpSocket* socket, const char* keyword, const QByteArray& data, const QByteArray& tail);
    void Coll_SendFrame(const char* keyword, const QByteArray& data, const QByteArray& tail);
    void SendRealtimeEvent(int kind, int slot, int phase, int x, int y);
    // The undo hand-shake (collab/ui/dialog_send_undo.cpp): the host's list
    // position, a writer's request (3 undo, 4 redo) and the host's answer
    // that the writer's stroke must end first.
    void Coll_Send_URdata(int mode, QString userId, int index, int size);
    void Coll_Send_UndoRedo(int mode, QString userId, int action);
    void Coll_Send_MouseRelease(int mode, QString userId, int action);
    void Coll_Send_Resolution(int mode, QString userId);
    // The board push (collab/ui/dialog_board_push.cpp): table 0 masters,
    // 1 details, 2 free-pen points, 3 all.
    void Coll_Send_StrokeData(int mode, QString userId, int table);
    void Coll_Send_DataInfo(int mode, QString userId, int value);
    // what: 0 tools, 1 free-pen, 2 brush objects, 3 the page's objects, 4 all pages.
    void Coll_Send_Redraw(int mode, QString userId, int what);
    void Coll_PushBoardTo(const QString& userId);
    void Coll_ReceiveNewcomer(const QString& userId);
    // The pushed board on a participant (collab/ui/dialog_receive_board.cpp).
    coll::BoardPushReceiver m_pushReceiver;
    bool Coll_ReceiveBoard(int code, const QByteArray& data);
    coll::BoardScale Coll_HostScale() const;
    void Coll_ReceiveRedraw(const QString& what);
    // The number the next inserted image is named by; "IMGPATH_SET" carries it.
    int m_imageCounter = 0;
    // "MODIFY_SET": one edited object, at levels 2 and 3 only. The kind's
    // unused values are passed as 0.
    void Coll_Send_Modify(int mode, QString key, quint16 eventId, int dx, int dy, int deleted, int angle, QRect rect,
                          int x0, int y0, int x1, int y1, int x2, int y2, int x3, int y3, int place, int size);
    void Coll_Send_NoteBtn(int mode, QString userId, QString noteKind);
    void Coll_Send_NoteData(int mode, QString userId, int flag);
    void Coll_Send_NoteIdx(int mode, QString userId);
    void Coll_Send_ChangeNote(int mode, QString userId, int direction);
    // A file as "DOC_ST" chunks and one "DOC_EN" (collab/ui/dialog_send_file.cpp);
    // path and name serve the image kinds 3 and 4.
    void Coll_Send_Doc(int mode, QString userId, int kind, QString path, QString name);
    void Coll_Send_ImgFile(int mode, QString userId);
    // Session state the toolbar follows: the collaboration library, the own
    // ID and the tool-right holder, and the host's note and undo positions.
    bool m_collLibraryLoaded = false;
    QString m_ownId;
    QString m_toolRightHolder;
    int m_hostNoteIndex = 0;
    int m_hostNoteCount = 1;
    int m_hostUndoIndex = -1;
    int m_hostUndoSize = 0;
    bool ToolRightHeld() const { return m_toolRightHolder == m_ownId; }
    // The collaboration transport (collab/ui/dialog_collab_library.cpp):
    // bound once by the second stage; every export is reached through it.
    coll::KonnexaLibrary& m_konnexa = coll::SharedKonnexa();
    void LoadCollaborationLibrary();
    // Teardown's share: the client socket and the relay are let go of even
    // when no session ever ran.
    void ReleaseCollaborationLibrary();
    // Frames received (collab/ui/dialog_receiver.cpp): one receive buffer
    // for the session socket, a guard against a handler that runs the event
    // loop re-entering the reader, and the queued continuation of a burst.
    CollFrameBuffer m_collReceiveBuffer;
    QTcpSocket* m_collReceiveSocket = nullptr;
    bool m_collReading = false;
    bool m_collReadQueued = false;
    // Takes the library's session socket and reads its frames from now on.
    void Coll_AttachSocket();
    // Hands one whole frame to the receiver by its keyword's code.
    void Coll_Receive(int code, const QByteArray& keyword, const QByteArray& data, const QByteArray& tail);
    void Coll_PacketLog(const CollFrame& frame, int frameSize);
    // Session control and rights (collab/ui/dialog_session.cpp,
    // collab/ui/dialog_rights.cpp, collab/ui/dialog_coll_panels.cpp): the
    // session's own fields and the host's rights rules live in the core.
    coll::Session m_session;
    QUdpSocket* m_discoverySocket = nullptr;
    bool m_userListOpen = false;
    bool m_userListPlaced = false;
    QPropertyAnimation* m_userListButtonAnimation = nullptr;
    QPropertyAnimation* m_userListPanelAnimation = nullptr;
    void OptDisconnectInit(int slot = -1);
    // What ending a session in any way leaves behind: no server, no
    // discovery listener, no loading animation, no open user list.
    void StopServer();
    void EndSessionLeftovers();
    // The session's connection is gone (an error, a close by the peer, our
    // own abort): back to stand-alone with a message, once per session.
    void Coll_ConnectionLost(int error);
    // Ends the session from our side (a stream we stopped trusting, a host
    // that sends more than we take); the end shows `message`, or the lost
    // connection's own when it is empty.
    void Coll_AbortSession(const QString& message);
    QString m_collLostMessage;
    void ApplyRightsSteps(const QVector<coll::RightsStep>& steps);
    void Coll_SendFrame(const char* keyword, const QByteArray& data);
    // The session's own messages on receipt (collab/ui/dialog_receive_session.cpp):
    // true when the code was one of them.
    bool Coll_ReceiveSession(int code, const QByteArray& data);
    void Coll_ReceiveUsers(const QString& data);
    void Coll_ReceiveLevel(const QString& data);
    void Coll_ReceiveExit(const QString& id);
    void Coll_ReceiveTool(const QString& id);
    void Coll_SendOwnPen();
    // Finding hosts (collab/ui/dialog_discovery.cpp): the search runs on a
    // pool thread with sockets of its own; each answer reaches the server
    // list through a queued call, and teardown stops a running search.
    void Coll_SearchHosts();
    void Coll_AnswerQuery(const QString& address);
    void Coll_AddFoundServer(const QString& id);
    void Coll_StopHostSearch();
    std::atomic_bool m_hostSearchStop{false};
    // The rest of the receiver (collab/ui/dialog_receive_*.cpp): live
    // strokes and pens, pages and the view, object edits and files. Each
    // group's function is true when the code was one of its messages.
    bool Coll_ReceiveLive(int code, const QByteArray& data);
    bool Coll_ReceivePages(int code, const QByteArray& data);
    void Coll_ReceiveRealtime(const coll::Fields& fields);
    void Coll_ReceivePen(int code, const coll::Fields& fields);
    void Coll_ReceiveScroll(bool horizontal, const coll::Fields& fields);
    void Coll_ReceiveNoteData(const coll::Fields& fields);
    void Coll_ReceiveNoteButton(const QString& name);
    void Coll_DropReplacedPage(const QString& replaced);
    void Coll_ReceiveImagePath(const coll::Fields& fields);
    void Coll_ReceiveModify(const QByteArray& data);
    void Coll_ReceiveFile(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail);
    void Coll_PlaceReceivedFile(const coll::ReceivedFile& file);
    coll::ReceiveFolders Coll_ReceiveFolders() const;
    // Edits from peers redraw the page once per burst, and not while a
    // pointer is down: the release that lifts the last one redraws.
    void Coll_ScheduleRedraw();
    bool m_collRedrawQueued = false;
    bool m_collRedrawDeferred = false;
    // The writer's board size from its "RESOLUTION_SET"; 0 until then.
    QSize m_writerBoardSize;
    // A peer's stroke is down in the slot (set by its press, cleared by its release).
    bool m_remoteStrokeDown[kPointerSlotCount] = {};
    // Ends a peer's stroke whose release will not come (its sender left,
    // lost the right or pressed again) where it got to.
    void Coll_EndRemoteStroke(int slot);
    // The page record a document file that follows belongs to.
    NoteInfo m_pendingDocument;
    coll::FileReceiver m_fileReceiver;
    // Who the transfer in progress belongs to, where that is known: on the
    // host, the writer it started with (only the writer's files reach it).
    QString m_fileSender;
    // The transfer of a participant that left is never finished by another.
    void Coll_DropTransferOf(const QString& id);
    // A picture from a peer that cannot be read is logged, not shown in a box.
    bool m_placingPeerPicture = false;
    // Forgets what a session left half received.
    void Coll_ResetReceiver();

signals:
    // To the top-level window.
    void MainDlgClose();
    void MainDlgDisplay(int option);
    void MainDlgSetGeometry(QRect rect);
    void MainDlg_DebugDisplaySize(int n, QString text);
    // From the background jobs, queued to the GUI thread.
    void CallDrawRecTime();
    void SetProgress(QString text, int value);
    void SetNotePrint(QString name, QImage page);

public slots:
    // --- editing: a touch release of a held gesture (editing/ui/dialog_pinch.cpp) ---
    void TouchReleaseBtn();
    // --- shell: the tray icon (app/ui/dialog_menus.cpp) ---
    void slotTrayActivated(QSystemTrayIcon::ActivationReason reason);
    // --- canvas: the master-mode dialog ---
    void MasterDlg_Show();
    // --- collaboration: rights; an empty ID with flag true parks the write
    // right for the length of a smart-pen stroke ---
    void OptSetUserLevel(QString userId, bool flag = false);
    // --- collaboration: the host's scroll positions; for everyone the user
    // ID is "NULL" (collab/ui/dialog_send.cpp) ---
    void Coll_Send_HeightScrollBar(int mode = 0, QString userId = QStringLiteral("NULL"));
    void Coll_Send_WidthScrollBar(int mode = 0, QString userId = QStringLiteral("NULL"));
    // --- shell: the debug overlay's switch and its test widgets, connected
    // by object name (app/ui/dialog_debug_overlay.cpp) ---
    void OptDebug(bool on);
    void on_CK_LogWindow_clicked();
    void on_CK_LogWindow1_clicked();
    void on_CK_LogWindow2_clicked();
    void on_btn_test_7_clicked();
    void on_btn_test_8_clicked();
    void on_btn_test_9_clicked();
    void on_btn_test_10_ListClear_clicked();
    // --- shell: the upload login kept when the upload dialog closes
    // (app/ui/dialog_image_file.cpp) ---
    void StrovaSaveInfo(QString id, int saveId);

    // --- stand-ins for commands whose subsystems come later
    // (app/ui/dialog_command_stubs.cpp); each is replaced by its real body ---
    void ChangeNote(QString stamp);
    void CloseNoteListDialog();
    void BackGroundClipArtImage(QString path);
    void NoteSavePrintOperation(QString path, QString mode, int first, int last);
    void ChangeScrollBar(int x, int y);
    void ChangeScrollBar_release();
    void OptMenuBtn();
    void OptColorDialog();
    void OptEraserDialog();
    void OptFigureDialog();
    void OptNoteDialog();
    void OptChangeDialog();
    void OptRecDialog();
    void OptZoomDialog();
    // A remote call is a peer's request the host passes on.
    void OptPreNoteBtn(bool remote = false);
    void OptPostNoteBtn(bool remote = false);
    void ClickColorBtn(QString colour);
    // index 1..10 gives the widths 2..11; flag false applies without sending.
    void ChangePenWidth(int index, bool flag = true);
    void ClickEraseBtn(QString key);
    void ClickDrawBtn(QString key);
    void OptUndo();
    void OptRedo();
    void OptTransBtnCheck(bool checked);
    void ClickNoteBtn(QString key);
    void OptNoteListBtn();
    void ClickObjectBtn(QString key);
    void OptWinBtn();
    void OptCollconnectDlgBtn();
    void OptIpBtn();
    void OptStrovaBtn();
    void ClickZoomBtn_setData_Contents(QString key);
    void OptRecBtn(int mode = 0);
    void OptViewBtn(int mode = 0);
    void OptNoteBtn(bool send = true);
    void OptColorBtn();
    void OptPenWidthBtn(bool send = true);
    void OptTransBtn();
    // slot 0 means the user's slots; level -1 takes the own level.
    void OptDrawBtn(int slot = 0, bool send = true, bool setChecks = true, int level = -1);
    void OptEraseBtn(bool send = true);
    void OptObjectBtn();
    void OptZoomBtn_SetData_Contents();
    void OptZoomBtn();
    // Sets the zoom key and runs the zoom; record makes the change an entry
    // of the recording.
    void ClickZoomBtn(QString key, bool record = false);
    void ClickViewLocationBtn(QString key);
    void OptViewLocationBtn();
    void OptUserListDlgBtn();
    void OptStartServer(QString ip, QString id, QString password);
    void OptConnect(QString ip, QString id, QString password, int level);
    void OptServerClose();
    void OptDisconnect();
    void OptSetUseTool(QString userId);
    void CreateNoteSubBtn();
    void CreateColorSubBtn();
    void ShowPenWidthSlider();
    void CreateDrawSubBtn();
    void CreateEraseSubBtn();
    void CreateObjectSubBtn();
    void CreateZoomSubBtn();
    void CreateViewLocationSubBtn();
    void ChangeZoomMaphor(int value);
    void ChangeZoomMapver(int value);
    void OptRecStart(int type);
    void ThreadSaveFinished();
    void ThreadRecTimeFinished();
    void SetProgressValue(QString text, int value);
    void NotePrintProcess(QString name, QImage page);
    void ThreadPrjLoadFinished();
    void ThreadPrjSaveFinished();
    void OptTool_DrawLine(QPoint from, QPoint to);
    void OptTool_DrawArc(QRect circle, int startAngle, int endAngle);
    void OptTool_DrawEllipse(QRect circle);
    void ThreadNoteSaveFinished();
    void OptColl(bool on);
    void OptCursor(bool on);
    void OptInterpolation(bool on);
    void OptAntialiasing(bool on);
    void Coll_ThreadBroadcastSend();
    // Menu entries.
    void OptNewLecture();
    void OptProjectOpen();
    void OptProjectSaveAs();
    void OptNoteSave();
    void OptNotePrint();
    void OptToolSpot();
    void OptToolBlind();
    void OptCloseOrbel();
    void OptFloating_Movehere();
    void OptMenuCut();
    void OptMenuCopy();
    void OptMenuPaste();
    void OptMenuDelete();
    void OptMenuAll();
    void OptMenuRuler();
    void OptMenuProtractor();
    void OptMenuCompass();
    void OptMenuReset();
    void OptMenutoFront();
    void OptMenuForward();
    void OptMenuBackward();
    void OptMenutoBack();
    void OptMenuGroup();
    void OptMenuUngroup();
    void OptPanserMode();
    void OptAllCapture();
    void OptRectCapture();

    // --- storage: PDF documents ---
    void OpenDocuments();
    void AddDocuments(QString path, bool show, bool page_option);
    void AddFinished();
    void SetDocumentOpenOption(bool show);
    // --- canvas: the camera preview ---
    void UpdatePreview(bool show = true);
    // --- canvas: pages ---
    void DeleteNote(QString stamp);
    void DrawRecTime();
    void InsertClipArtImage(QString path);

    // --- shell: toolbar position ---
    void OptToolPosBottom();
    void OptToolPosTop();
    void OptToolPosLeft();
    void OptToolPosRight();
    void OptToolPosFloat();
    void OptSubAlign(QPoint p);

    // --- storage: settings ---
    void Config_InitAll();
    void OptLanguageType(QAction* action);
    void SaveConfigData(ConfigInfomation config);
    void SaveConfigData();
    void OptConfigDlgSetPos();
    void OptConfiguration();
    void Config_savePrj_Update();
    // --- storage: projects (storage/ui/dialog_project.cpp) ---
    void OptProjectSave(bool saveAs = false);

    // --- shell: the on-screen keyboard ---
    void OptVirtureKeyboard();

    // --- recording: capture devices ---
    void OptChangedCam(QString name);
    void OptChangedMic(QString name);

    // --- shell: start-up and the pen driver's messages ---
    void Get_Target_hWnd(platform::WindowHandle window);
    void OpenISPFile(QString path);
    void OpenIICFile(QString path);

    // --- canvas: the pen driver's pointers ---
    void MultiPointer1(int action, int x, int y);
    void MultiPointer2(int action, int x, int y);
    void MultiPointer3(int action, int x, int y);
    void MultiPointer4(int action, int x, int y);
    void MultiPointer5(int action, int x, int y);
    void MultiPointer6(int action, int x, int y);
    void MultiPointer7(int action, int x, int y);
    void MultiPointer8(int action, int x, int y);
    void MultiPointer9(int action, int x, int y);
    void MultiPointerAll(int id, int action, int x, int y);

    // --- editing: undo and redo (editing/ui/dialog_undo.cpp) ---
    // Moves a stroke's samples by the entry's offset, back by it for undo.
    void UR_Update_fpp(UndoRedo entry, EventMaster em, EventDetail ed, bool undo = false);
    // --- editing: undo list ---
    void InsertURList(int kind, int slot, EventMaster em, EventDetail ed, ErasePoint ep, PreData pd,
                      int place = 1, int size = 1, QPoint offset = QPoint());

    // --- collaboration: frames ---
    QByteArray setData(QByteArray header, QByteArray data, QByteArray tail);
    void onReadyRead();
    void onConnected();
    void onConnect_error(QAbstractSocket::SocketError error);
    void onDisconnected();
    // The hosts' discovery listener: answers every query it may.
    void Coll_Broadcast_Receive();
    // A host answers the query of the address given; anybody else searches.
    void Coll_Broadcast_Send(QString address = QString());
    // A pointer record "action,x,y" from an outside source of strokes, drawn
    // in slot 2 (collab/ui/dialog_pointer_replay.cpp).
    void Rx_data_processing(QString record);
    void Process_Rx();

    // --- shell: the USB pen module's keep-alive ---
    void onTimer();

protected:
    // --- canvas: local input and painting ---
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // --- shell: construction ---
    void LoadCaptureLibrary();
    void LoadUpdateBridge();
    void SetUpInputHandling();
    // --- storage: settings ---
    void ApplyBoardColor();
    void ApplyCursorOption();
    // --- canvas ---
    void PointerDispatch(int slot, int action, int x, int y);
    bool PointerInputAllowed() const { return m_collUserLevel == 0 || m_collUserLevel == 3; }
    void EnsurePageCoversWidget();
    // --- shell: the pen driver's window; 0 until it is found or greets us ---
    platform::WindowHandle m_penDriverWindow = 0;
    // The window greeted last and when: its greeting back is a reply, not a
    // new greeting to answer (two greeting sides would answer for ever).
    void GreetPenDriver(platform::WindowHandle driver, platform::WindowHandle ownWindow);
    platform::WindowHandle m_greetedPenDriver = 0;
    QElapsedTimer m_greetedPenDriverClock;
};
