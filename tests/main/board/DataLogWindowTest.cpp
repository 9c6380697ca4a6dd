#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include "main/MasterTimer.h"
#include "main/SharedState.h"
#include "main/Startup.h"
#include "main/Windows.h"
#include "main/board/BoardWindows.h"
#include "main/frmMain.h"
#include "main/monitoring/LogFormat.h"
#include "main/monitoring/frmLogging.h"
#include "tests/support/MessageRecorder.h"

namespace {

const std::string kNoneSelected = "At least one item must be selected for logging";

class DataLog : public ::testing::Test {
  protected:
    void SetUp() override {
        Reset();
        General::ReadingEnabled = false;  // only the log task runs in the ticks
        MasterTimer::SetClock([this] { return now_; });
        RegisterBoardWindows();
        frmLogging::SetFileChooser([this](const std::string&) {
            ++dialogs_;
            return chosen_;
        });
        chosen_ = QDir(dir_.path()).filePath("run.csv").toStdString();
    }
    void TearDown() override {
        Windows::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmLogging::SetFileChooser({});
        MasterTimer::SetClock({});
        General::ReadingEnabled = true;
        Reset();
    }
    static void Reset() {
        General::LogChannel = {};
        General::LoggingActive = false;
        General::LogFileName.clear();
        General::LogSampleCount = 0;
        General::LogIntervalMs = 100;
    }
    static void MakeAvailable(std::initializer_list<int> channels) {
        for (int i : channels) General::LogChannel[General::kLogAvailableRow][i] = 1.0f;
    }
    frmLogging* Open() { return qobject_cast<frmLogging*>(Windows::Open(Windows::Kind::Logging)); }
    void TickAt(float seconds) {
        now_ = seconds;
        tasks_.Tick();
    }
    QByteArray FileBytes() const {
        QFile file(QString::fromStdString(chosen_));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool FileExists() const { return QFile::exists(QString::fromStdString(chosen_)); }

    QTemporaryDir dir_;
    std::string chosen_;
    int dialogs_ = 0;
    TestSupport::MessageRecorder messages_;
    MasterTimer::Tasks tasks_;
    float now_ = 1000.0f;
};

}  // namespace

TEST_F(DataLog, AsDeliveredNoChannelCanBeLoggedAndNothingIsWritten) {
    frmLogging* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Data Logging");
    EXPECT_EQ(window->txtLogInt->text(), "100");
    EXPECT_EQ(window->cmdLogData->text(), "Start Logging");
    for (QCheckBox* box : window->chkLog) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_FALSE(box->isChecked());
    }
    window->cmdSelectAll->click();
    window->cmdLogData->click();
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kNoneSelected});
    EXPECT_EQ(messages_.Messages()[0].icon, Ui::Icon::Exclamation);
    EXPECT_FALSE(General::LoggingActive);
    EXPECT_FALSE(FileExists());
    EXPECT_EQ(window->cmdLogData->text(), "Start Logging");
}

TEST_F(DataLog, CancelInTheDialogChangesNothing) {
    MakeAvailable({0});
    frmLogging* window = Open();
    window->chkLog[0]->setChecked(true);
    chosen_.clear();
    window->cmdLogData->click();
    EXPECT_EQ(dialogs_, 1);
    EXPECT_TRUE(messages_.Texts().empty());
    EXPECT_FALSE(General::LoggingActive);
    EXPECT_TRUE(General::LogFileName.empty());
    EXPECT_EQ(General::LogChannel[General::kLogSelectedRow][0], 0.0f);
}

TEST_F(DataLog, AnIntervalOutsideItsRangeIsRefusedBeforeAnythingHappens) {
    MakeAvailable({0});
    frmLogging* window = Open();
    window->chkLog[0]->setChecked(true);
    for (const char* typed : {"-5", "3000000000", "-99999999999999999999"}) {
        messages_.Clear();
        window->txtLogInt->setText(typed);
        window->cmdLogData->click();
        EXPECT_EQ(messages_.Texts().size(), 1u) << typed;
        EXPECT_EQ(dialogs_, 0) << typed;
        EXPECT_FALSE(General::LoggingActive) << typed;
        EXPECT_EQ(General::LogIntervalMs, 100) << typed;
        EXPECT_EQ(window->cmdLogData->text(), "Start Logging") << typed;
    }
    EXPECT_FALSE(FileExists());
}

TEST_F(DataLog, ARunWritesTheTitleHeaderAndOneLinePerInterval) {
    MakeAvailable({0, 4, 7});
    frmLogging* window = Open();
    window->cmdSelectAll->click();
    window->chkLog[7]->setChecked(false);
    window->txtLogInt->setText("200");
    window->cmdLogData->click();
    ASSERT_TRUE(messages_.Texts().empty());
    EXPECT_TRUE(General::LoggingActive);
    EXPECT_EQ(General::LogIntervalMs, 200);
    EXPECT_EQ(General::LogSampleCount, 0);
    EXPECT_EQ(General::LogFileName, chosen_);
    EXPECT_EQ(window->cmdLogData->text(), "Stop logging...");
    EXPECT_EQ(FileBytes(), QByteArray("\r\nQuorvex Log File\r\n\r\nTime ,Local Temp ,Tach1 ,\r\n"));

    General::LogChannel[General::kLogValueRow][0] = 25.5f;
    General::LogChannel[General::kLogValueRow][4] = 1200;
    TickAt(1000.0f);
    TickAt(1000.1f);  // not yet due
    General::LogChannel[General::kLogValueRow][0] = 0.5f;
    TickAt(1000.25f);
    TickAt(1000.5f);
    EXPECT_EQ(General::LogSampleCount, 3);
    EXPECT_EQ(FileBytes(), QByteArray("\r\nQuorvex Log File\r\n\r\nTime ,Local Temp ,Tach1 ,\r\n"
                                      "0,25.5 ,1200 ,\r\n"
                                      ".2,.5 ,1200 ,\r\n"
                                      ".4,.5 ,1200 ,\r\n"));

    // Stopped, the file is left as it is and the task writes no more.
    window->cmdLogData->click();
    EXPECT_FALSE(General::LoggingActive);
    EXPECT_EQ(window->cmdLogData->text(), "Start Logging");
    const QByteArray stopped = FileBytes();
    TickAt(1001.0f);
    EXPECT_EQ(FileBytes(), stopped);

    // A second start on the same file adds a new title block and header below.
    window->chkLog[4]->setChecked(false);
    window->cmdLogData->click();
    EXPECT_EQ(FileBytes(), stopped + "\r\nQuorvex Log File\r\n\r\nTime ,Local Temp ,\r\n");
    EXPECT_EQ(General::LogSampleCount, 0);
}

TEST_F(DataLog, LoggingGoesOnAfterTheWindowClosesAndShowsWhenReopened) {
    MakeAvailable({1});
    frmLogging* window = Open();
    window->chkLog[1]->setChecked(true);
    window->txtLogInt->setText("0");
    window->cmdLogData->click();
    window->cmdClose->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(Windows::Find(Windows::Kind::Logging), nullptr);
    EXPECT_TRUE(General::LoggingActive);

    // An interval of 0 is due on every tick.
    TickAt(1000.0f);
    TickAt(1000.05f);
    TickAt(1000.1f);
    EXPECT_EQ(General::LogSampleCount, 3);

    window = Open();
    EXPECT_EQ(window->cmdLogData->text(), "Stop logging...");
    EXPECT_EQ(window->txtLogInt->text(), "0");
    EXPECT_TRUE(window->chkLog[1]->isChecked());
}

TEST_F(DataLog, AFileThatCannotBeOpenedAtTheStartIsReportedAndNotLogged) {
    MakeAvailable({0});
    frmLogging* window = Open();
    window->chkLog[0]->setChecked(true);
    chosen_ = QDir(dir_.path()).filePath("missing/run.csv").toStdString();
    window->cmdLogData->click();
    EXPECT_EQ(messages_.Texts().size(), 1u);
    EXPECT_FALSE(General::LoggingActive);
    EXPECT_EQ(window->cmdLogData->text(), "Start Logging");
}

TEST_F(DataLog, AFailedLineStopsLoggingWithOneMessage) {
    MakeAvailable({0});
    frmLogging* window = Open();
    window->chkLog[0]->setChecked(true);
    window->cmdLogData->click();
    TickAt(1000.0f);
    ASSERT_EQ(General::LogSampleCount, 1);

    // The file's place becomes a folder: it can no longer be opened for appending.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(chosen_)));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(chosen_)));
    TickAt(1000.2f);
    TickAt(1000.4f);
    TickAt(1000.6f);
    EXPECT_EQ(messages_.Texts().size(), 1u);
    EXPECT_FALSE(General::LoggingActive);
    EXPECT_EQ(General::LogSampleCount, 1);
    EXPECT_EQ(window->cmdLogData->text(), "Start Logging");

    // With the window closed the failure stops logging all the same.
    ASSERT_TRUE(QDir().rmdir(QString::fromStdString(chosen_)));
    window->cmdLogData->click();
    ASSERT_TRUE(General::LoggingActive);
    Windows::UnloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(chosen_)));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(chosen_)));
    messages_.Clear();
    TickAt(1001.0f);
    TickAt(1001.2f);
    EXPECT_EQ(messages_.Texts().size(), 1u);
    EXPECT_FALSE(General::LoggingActive);
}

TEST_F(DataLog, TheStatusBarSaysWhenLoggingIsOnAndWhenItStops) {
    frmMain main;
    General::MainForm = &main;
    MakeAvailable({0});
    frmLogging* window = Open();
    window->chkLog[0]->setChecked(true);
    window->txtLogInt->setText("-1");
    window->cmdLogData->click();
    EXPECT_EQ(main.StatusText(), "Status");
    window->txtLogInt->setText("100");
    window->cmdLogData->click();
    EXPECT_EQ(main.StatusText(), "Logging Enabled");
    window->cmdLogData->click();
    EXPECT_EQ(main.StatusText(), "Ready");

    window->cmdLogData->click();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(chosen_)));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(chosen_)));
    TickAt(1000.0f);
    EXPECT_EQ(main.StatusText(), "Ready");
    Windows::UnloadAll();
    General::MainForm = nullptr;
}
