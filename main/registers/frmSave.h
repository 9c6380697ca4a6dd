#pragma once
// The save/recall window: saves the chip's writable registers to a register settings file and
// writes such a file back into the chip. The master timer stays off while either works on the
// chip, so that no periodic read runs between their register accesses, and is always started
// again.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>

class frmSave : public QWidget {
    Q_OBJECT
  public:
    explicit frmSave(QWidget* parent = nullptr);
    ~frmSave() override;

    // Reads the registers, asks for a file name and writes the file; the window closes once the
    // file is safely written. An existing file is replaced only by a completely written one.
    void cmdsave_Click();
    // Asks for a file and writes its registers into the chip, in file order.
    void cmdRecall_Click();
    void cmdClose_Click();

    QGroupBox* Frame2;
    QLabel* Label2;
    QPlainTextEdit* txtComment;
    QPushButton* cmdsave;
    QPushButton* cmdRecall;
    QCheckBox* chkNotDefaults;
    QPushButton* cmdClose;

    enum class FileDialogMode { Save, Open };
    // Shows the file dialog and returns the chosen name, or an empty text for Cancel.
    using FileChooser =
        std::function<QString(FileDialogMode mode, const QString& folder, const QString& filter)>;
    // Replaces the common file dialog (tests answer it); an empty chooser restores the dialog.
    static void SetFileChooser(FileChooser chooser);
    // Replaces what starts and stops the master timer (tests watch it); an empty one restores
    // the main window's timer.
    static void SetTimerSwitch(std::function<void(bool enabled)> timerSwitch);

  private:
    QString ChooseFile(FileDialogMode mode);
};
