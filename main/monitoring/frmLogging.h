#pragma once
// "Data Logging": which channels go into the CSV log, at what interval, and starting and
// stopping the log. The master timer writes the lines; logging goes on after the window closes.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "main/monitoring/LogFormat.h"

namespace Controls {
class UpDown;
}

class frmLogging : public QWidget {
    Q_OBJECT
  public:
    explicit frmLogging(QWidget* parent = nullptr);

    QGroupBox* Frame1;  // "Temperature Values"
    QGroupBox* Frame2;  // "Fan Values"
    QGroupBox* Frame3;  // "Voltage Values"
    std::array<QCheckBox*, General::kLogChannelCount> chkLog{};
    QLabel* lblLogInt;
    QLineEdit* txtLogInt;
    Controls::UpDown* UpDown1;
    QPushButton* cmdSelectAll;
    QPushButton* cmdDeselectAll;
    QPushButton* cmdClose;
    QPushButton* cmdLogData;

    void Form_Load();
    void cmdLogData_Click();
    void cmdSelectAll_Click();
    void cmdDeselectAll_Click();
    void cmdClose_Click();

    // The timer could not append a line: logging stops, with one message.
    static void LogWriteFailed();

    // The file dialog: returns the chosen file name, or "" for Cancel. Tests replace it (an empty
    // one restores the dialog).
    using FileChooser = std::function<std::string(const std::string& initialFolder)>;
    static void SetFileChooser(FileChooser chooser);

  private:
    void StartLogging();
    void StopLogging();
};
