#pragma once
// The program's one parent window: menus, the toolbar with the device list, the status bar,
// the area every child window opens in, and the master timer whose tick runs every periodic
// task of the program.

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <optional>

#include "main/MasterTimer.h"
#include "main/Windows.h"

class frmSplash;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The discovery: restores the window's bounds, finds every chip on the USB board and the
    // SMBus and fills the device list. Ends the program when no chip answers.
    void MDIForm_Load();
    // Stores the window's bounds unless it is minimized.
    void MDIForm_Unload();
    // Chooses the device of the list's selected entry.
    void cmbDevices_Click();
    // The master timer's tick.
    void tmrMaster_Timer();
    // The toolbar's button handler, by key.
    void tbToolBar_ButtonClick(const QString& key);

    void SetSplash(frmSplash* splash) { splash_ = splash; }
    void ShowMaximized();
    void SetMasterTimerEnabled(bool enabled);
    bool MasterTimerEnabled() const { return tmrMaster->isActive(); }
    // Panel 1 of the status bar.
    void SetStatusText(const QString& text);
    QString StatusText() const;
    const MasterTimer::Tasks& Tasks() const { return tasks_; }
    QMdiArea* MdiArea() const { return mdiArea_; }

    // Controls and menu items, named as the program's documentation names them.
    QTimer* tmrMaster;
    QToolBar* tbToolBar;
    QComboBox* cmbDevices;
    QStatusBar* sbStatusBar;
    QMenu* mnuFile;
    QAction* mnuSave;
    QAction* mnuLog;
    QAction* mnuExit;
    QMenu* mnuView;
    QAction* mnuRegMap;
    QAction* mnuGraph;
    QAction* mnuLimits;
    QMenu* mnuConfig;
    QAction* mnuFanConfig;
    QAction* mnuPECI;
    QAction* mnuGenConfig;
    QAction* mnuVoltage;
    QAction* mnuTHERM;
    QMenu* mnuFanControl;
    QAction* mnuAutoControl;
    QAction* mnuDynTmin;
    QAction* mnuManualControl;
    QMenu* mnuBoard;
    QAction* mnuHeaters;
    QAction* mnuSwitches;
    QMenu* mnuWindow;
    QAction* mnuAbout;
    // The toolbar's buttons by key ("Save", "FanConfig", ...).
    QAction* ToolbarButton(const QString& key) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void ShowChild(QWidget* window);
    void KeepInsideClientArea(QWidget* frame) const;
    // What the window manager's frame adds round the window on each side.
    QMargins FrameMargins() const;
    // Keeps the frame of the un-maximized window and fits it to the stored bounds once.
    void NoteNormalFrame();
    // The geometry the window returns to when un-maximized.
    QRect NormalBounds() const;
    // The stored bounds read at load, in pixels.
    QRect LoadedOuterBounds() const;
    void FillWindowMenu();
    // Scans the 33 bus addresses of the current link and adds each chip found to the list.
    void ScanBus(const char* suffix);

    QMdiArea* mdiArea_;
    QLabel* statusPanel_;
    QLabel* datePanel_;
    QLabel* timePanel_;
    QTimer* clock_;
    frmSplash* splash_ = nullptr;
    MasterTimer::Tasks tasks_;
    bool inTick_ = false;
    // How long a window manager may take to act on the request to maximize.
    static constexpr int kWindowManagerGraceMs = 500;
    // The four stored bounds as read (twips) and the normal geometry they gave the window;
    // invalid until the load has read them.
    std::array<float, 4> loadedBounds_{};
    QRect loadedGeometry_;
    bool outerSizeApplied_ = false;
    // The frame round the un-maximized window, as last seen (a maximized one may have another).
    QMargins normalMargins_;
    // Where the window filled the screen itself for want of a window manager, and the normal
    // geometry it had before.
    std::optional<QRect> filledGeometry_;
    QRect normalBeforeFill_;
};
