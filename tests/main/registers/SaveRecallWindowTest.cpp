#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <vector>

#include "main/ConfigFlags.h"
#include "main/DeviceLink.h"
#include "main/Startup.h"
#include "main/Windows.h"
#include "main/frmMain.h"
#include "main/registers/RegisterMapWindows.h"
#include "main/registers/RegisterTable.h"
#include "main/registers/frmSave.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/MessageRecorder.h"

using RegMapStuff::RegisterTable;
using TestSupport::FakeTransport;
using Writes = std::vector<std::pair<int, int>>;

namespace {

// A switch of the master timer and how much register traffic had happened when it came.
struct TimerEvent {
    bool enabled;
    size_t reads;
    size_t writes;
    bool operator==(const TimerEvent&) const = default;
};

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

void WriteFile(const QString& path, const std::string& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// The date and time of line 4 differ from run to run.
std::string MaskSavedLine(std::string text) {
    const size_t start = text.find("Saved: ");
    const size_t end = text.find("\r\n", start);
    if (start != std::string::npos && end != std::string::npos)
        text.replace(start, end - start, "Saved: <date> at <time>");
    return text;
}

class SaveRecallWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        RegMapStuff::BuildRegisterTable();
        General::ResetConfigFlags();
        ASSERT_TRUE(dir_.isValid());
        frmSave::SetTimerSwitch([this](bool enabled) {
            timer_.push_back(
                {enabled, fake_.RegisterReads().size(), fake_.RegisterWrites().size()});
        });
        frmSave::SetFileChooser(
            [this](frmSave::FileDialogMode mode, const QString& folder, const QString& filter) {
                modes_.push_back(mode);
                EXPECT_EQ(folder.toStdString(), USBStuff::ProgramFolder);
                EXPECT_EQ(filter.toStdString(), "Text Files (*.sav)");
                return chosen_;
            });
    }
    void TearDown() override {
        frmSave::SetTimerSwitch(nullptr);
        frmSave::SetFileChooser(nullptr);
    }
    QString Path(const char* name) const { return dir_.filePath(name); }

    // Saves through a window opened as the menu opens it; true when the window closed.
    bool SaveThroughMenu(const QString& name, bool onlyDiffering, const char* comment = "") {
        RegisterRegisterMapWindows();
        auto* window = qobject_cast<frmSave*>(Windows::Open(Windows::Kind::Save));
        EXPECT_NE(window, nullptr);
        if (!window) return false;
        window->chkNotDefaults->setChecked(onlyDiffering);
        window->txtComment->setPlainText(comment);
        chosen_ = name;
        window->cmdsave_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool closed = Windows::Find(Windows::Kind::Save) == nullptr;
        Windows::UnloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return closed;
    }

    Writes Recall(const std::string& fileText) {
        WriteFile(Path("in.sav"), fileText);
        chosen_ = Path("in.sav");
        fake_.ClearCalls();
        timer_.clear();
        frmSave window;
        window.cmdRecall_Click();
        return fake_.RegisterWrites();
    }

    FakeTransport fake_;
    TestSupport::MessageRecorder messages_;
    QTemporaryDir dir_;
    QString chosen_;
    std::vector<TimerEvent> timer_;
    std::vector<frmSave::FileDialogMode> modes_;
};

}  // namespace

TEST_F(SaveRecallWindow, SavesAChipAtItsDefaultsInTheFileFormat) {
    struct Case {
        bool onlyDiffering;
        const char* golden;
    };
    for (const Case& c : {Case{false, "defaults_all.sav"}, Case{true, "defaults_differ.sav"}}) {
        fake_.ClearCalls();
        timer_.clear();
        ASSERT_TRUE(SaveThroughMenu(Path(c.golden), c.onlyDiffering, "  bench 3, board A  "))
            << c.golden;
        EXPECT_EQ(MaskSavedLine(ReadFile(Path(c.golden))),
                  ReadFile(QString(REGMAP_TEST_DATA "/") + c.golden))
            << c.golden;
        // Every writable, non-alias record is read, in table order, with the timer off.
        std::vector<int> expected;
        for (const auto& info : RegisterTable)
            if (!info.ReadOnly && !info.IsAlias) expected.push_back(info.Address);
        EXPECT_EQ(fake_.RegisterReads(), expected);
        EXPECT_EQ(expected.size(), 89u);
        EXPECT_EQ(timer_, (std::vector<TimerEvent>{{false, 0, 0}, {true, 89, 0}})) << c.golden;
        EXPECT_TRUE(fake_.RegisterWrites().empty());
    }
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SaveRecallWindow, SaveWritesTheValuesReadAndACommentOnOneLine) {
    fake_.SetReg(0x40, 0x05);
    fake_.SetReg(0x97, 0x00);
    fake_.SetReg(0x30, 0x80);
    ASSERT_TRUE(SaveThroughMenu(Path("a"), true, "line one\n0x41\t0x01\n}"));
    const std::string text = ReadFile(Path("a"));  // used as typed: no ".sav" added
    EXPECT_NE(text.find("\r\nComment : line one 0x41\t0x01 }\r\n"), std::string::npos);
    EXPECT_NE(
        text.find("{\r\n0x30\t0x80\t // PWM1 % Duty\r\n0x40\t0x05\t // Configuration 1\r\n}\r\n"),
        std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
    // The comment's look-alike register line recalls as nothing.
    EXPECT_EQ(Recall(text), (Writes{{0x30, 0x80}, {0x40, 0x05}}));
}

TEST_F(SaveRecallWindow, CancelledSaveWritesNothingAndKeepsTheWindowOpen) {
    EXPECT_FALSE(SaveThroughMenu(QString(), false));
    EXPECT_EQ(modes_, std::vector<frmSave::FileDialogMode>{frmSave::FileDialogMode::Save});
    EXPECT_EQ(fake_.RegisterReads().size(), 89u);
    EXPECT_EQ(timer_, (std::vector<TimerEvent>{{false, 0, 0}, {true, 89, 0}}));
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(SaveRecallWindow, FailedSaveLeavesTheOldFileIntact) {
    // A folder that does not exist: nothing is created.
    EXPECT_FALSE(SaveThroughMenu(Path("no/such/folder.sav"), false));
    EXPECT_EQ(timer_.back().enabled, true);

    // A write that fails part-way (the file size limit) must not touch the old file.
    WriteFile(Path("old.sav"), "the old settings\r\n");
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 256;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    timer_.clear();
    const bool closed = SaveThroughMenu(Path("old.sav"), false);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(closed);
    EXPECT_EQ(ReadFile(Path("old.sav")), "the old settings\r\n");
    EXPECT_EQ(timer_.size(), 2u);
    EXPECT_TRUE(timer_.back().enabled);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"old.sav"});
}

TEST_F(SaveRecallWindow, RecallWritesTheSavedRegistersBackInFileOrder) {
    // Registers away from their defaults, saved, changed, recalled.
    fake_.SetReg(0x40, 0x05);
    fake_.SetReg(0x5F, 0x31);
    fake_.SetReg(0x97, 0x7E);
    ASSERT_TRUE(SaveThroughMenu(Path("bench.sav"), false));
    Writes saved;
    for (const auto& info : RegisterTable)
        if (!info.ReadOnly && !info.IsAlias)
            saved.emplace_back(info.Address, fake_.Reg(info.Address));
    fake_.SetReg(0x40, 0x01);
    fake_.SetReg(0x5F, 0xC4);
    fake_.SetReg(0x97, 0x00);
    fake_.SetReg(0x30, 0x10);

    const Writes writes = Recall(ReadFile(Path("bench.sav")));
    EXPECT_EQ(writes, saved);
    EXPECT_EQ(fake_.Reg(0x40), 0x05);
    EXPECT_EQ(fake_.Reg(0x5F), 0x31);
    EXPECT_EQ(fake_.Reg(0x97), 0x7E);
    EXPECT_EQ(fake_.Reg(0x30), 0xFF);
    // Off before the first write, on after the last.
    ASSERT_EQ(timer_.size(), 2u);
    EXPECT_FALSE(timer_[0].enabled);
    EXPECT_EQ(timer_[0].writes, 0u);
    EXPECT_TRUE(timer_[1].enabled);
    EXPECT_EQ(timer_[1].writes, 89u);

    // With "only differ" the same three come back, nothing else.
    fake_.SetReg(0x30, 0xFF);
    ASSERT_TRUE(SaveThroughMenu(Path("differ.sav"), true));
    fake_.SetReg(0x40, 0x01);
    EXPECT_EQ(Recall(ReadFile(Path("differ.sav"))),
              (Writes{{0x40, 0x05}, {0x5F, 0x31}, {0x97, 0x7E}}));
}

TEST_F(SaveRecallWindow, RecallOfMalformedFilesWritesOnlyWhatTheirLinesHold) {
    struct Case {
        const char* name;
        std::string text;
        Writes writes;
        size_t timerEvents;
    };
    const std::vector<Case> cases = {
        // The character-stream reading took this line's value from the next line and lost it.
        {"line with one field",
         "{\r\n0x40\r\n0x41\t0x02\r\n0x42\t0x03\r\n}\r\n",
         {{0x41, 2}, {0x42, 3}},
         2},
        {"defaults only", "{\r\n}\r\n", {}, 2},
        {"missing end brace", "{\r\n0x40\t0x05\r\n0x6F\t0x01\r\n", {{0x40, 5}, {0x6F, 1}}, 2},
        {"no list", "Address\tData\r\n0x40\t0x05\r\n", {}, 0},
        {"unlisted and read-only", "{\r\n0x37\t0x01\r\n0x3E\t0x00\r\n}", {{0x37, 1}, {0x3E, 0}}, 2},
        {"binary junk", std::string("{\n\xff\x00x\x01x", 8), {}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Recall(c.text), c.writes) << c.name;
        EXPECT_EQ(timer_.size(), c.timerEvents) << c.name;
        if (!timer_.empty()) {
            EXPECT_FALSE(timer_.front().enabled) << c.name;
            EXPECT_EQ(timer_.front().writes, 0u) << c.name;
            EXPECT_TRUE(timer_.back().enabled) << c.name;
        }
    }
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SaveRecallWindow, RecallWithoutAReadableFileDoesNothing) {
    frmSave window;
    for (const QString& name : {QString(), Path("missing.sav"), dir_.path()}) {
        chosen_ = name;
        window.cmdRecall_Click();
    }
    EXPECT_TRUE(fake_.Calls().empty());
    EXPECT_TRUE(timer_.empty());
    EXPECT_EQ(modes_.size(), 3u);
    EXPECT_EQ(modes_.front(), frmSave::FileDialogMode::Open);
}

TEST_F(SaveRecallWindow, RecallWritesCompleteLinesOnlyWhateverTheFilesSize) {
    // A copy cut short inside its last line: the lines before it are written, that one is not.
    EXPECT_EQ(Recall("{\r\n0x40\t0x05\r\n0x5C\t0x6"), (Writes{{0x40, 5}}));
    EXPECT_EQ(fake_.Reg(0x5C), 0x62);
    ASSERT_EQ(timer_.size(), 2u);
    EXPECT_TRUE(timer_.back().enabled);

    // Megabytes of comment before the list and of anything after its end change nothing; a
    // line too long to be a register line is passed over.
    const std::string big(3 << 20, 'c');
    const std::string overlong = "0x41\t0x07\t // " + std::string(1 << 20, 'd');
    EXPECT_EQ(Recall("Comment : " + big + "\r\n{\r\n0x40\t0x05\r\n" + overlong +
                     "\r\n0x5C\t0x06\r\n}\r\n0x41\t0x08\r\n" + big),
              (Writes{{0x40, 5}, {0x5C, 6}}));
}

TEST_F(SaveRecallWindow, RecallOverTheSmbusWritesTheSelectedDevice) {
    fake_.UseSmbus();
    EXPECT_EQ(Recall("{\r\n0x40\t0x05\r\n}\r\n"), (Writes{{0x40, 5}}));
    EXPECT_EQ(fake_.SmbusChip().Peek(0x40), 5);
}

TEST_F(SaveRecallWindow, WithoutATestSwitchTheMainWindowsTimerIsStartedAgain) {
    frmMain main;
    General::MainForm = &main;
    frmSave::SetTimerSwitch(nullptr);
    main.SetMasterTimerEnabled(false);
    EXPECT_EQ(Recall("{\r\n0x40\t0x05\r\n}\r\n"), (Writes{{0x40, 5}}));
    EXPECT_TRUE(main.MasterTimerEnabled());
    main.SetMasterTimerEnabled(false);
    frmSave window;
    chosen_.clear();
    window.cmdsave_Click();  // cancelled
    EXPECT_TRUE(main.MasterTimerEnabled());
    General::MainForm = nullptr;
}
