// The dose journal and the alarm end to end: the program's windows as the
// program puts them together, polling the detector simulator (or nothing),
// with a data folder and a settings folder of the test's own. What lands in
// the journal's files, what the alarm set through the journal window does to
// the dose digits and to the settings file, and the journal window over a
// month of rows.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/face_design.h"
#include "app/qt/accel_label.h"
#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/journal_window.h"
#include "app/qt/program.h"
#include "app/qt/trelan_adc_face.h"
#include "common/local_time.h"
#include "journal/journal_row.h"
#include "settings/ini_profile.h"
#include "settings/settings_file.h"
#include "tests/qt/app_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/detector_event_times.h"
#include "tests/support/temp_folder.h"
#include "tools/ornet5-journal-maker/journal_maker.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using std::chrono::system_clock;

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBarInk = qRgb(0x9f, 0xc5, 0xe8);

// One journal row's fields as the file holds them.
struct TRowFields {
    system_clock::time_point time;
    std::string dose;
    std::string status;
    std::string detector;
    std::string alarm;
};

std::optional<TRowFields> SplitRow(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line.substr(0, line.find('\r')));
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    const std::optional<TLocalTime> time =
        fields.empty() ? std::nullopt : ParseLocalTimeText(fields[0]);
    if (fields.size() != 5 || !time) {
        return std::nullopt;
    }
    return TRowFields{time->utc, fields[1], fields[2], fields[3], fields[4]};
}

// The lines of an INI file's section, its heading included, without the
// blank line that parts it from the next.
std::string SectionText(const std::string& ini, const std::string& section) {
    const std::size_t start = ini.find("[" + section + "]");
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t end = ini.find("\n[", start);
    std::string text =
        ini.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
    while (text.ends_with("\r\n\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

int PixelsOf(QWidget& widget, QRgb colour) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// Sets XDG_DATA_HOME to a fresh folder while it lives; made before the
// program, whose journal goes there.
class TTempDataHome {
  public:
    TTempDataHome() { qputenv("XDG_DATA_HOME", folder_.path().toUtf8()); }
    ~TTempDataHome() { qunsetenv("XDG_DATA_HOME"); }
    fs::path JournalFolder() const {
        return fs::path(folder_.path().toStdString()) / "ornet5" / "journal";
    }

  private:
    QTemporaryDir folder_;
};

class JournalEndToEnd : public testing::Test {
  protected:
    void StartProgram(std::chrono::milliseconds pollPeriod = kPollPeriod) {
        program_ =
            std::make_unique<TProgram>(*qobject_cast<TGuardedApplication*>(qApp), pollPeriod);
    }

    void StartSimulator() {
        const std::string link = std::string(std::getenv("XDG_CONFIG_HOME")) + "/ornet5/com3";
        simulator_ = std::make_unique<test::TChildProcess>(
            ORNET5_SIM_PATH,
            std::vector<std::string>{"--word", "FC7B", "--address", "7.3.12", "--link", link});
        ASSERT_TRUE(simulator_->WaitUntilReady()) << simulator_->Output();
    }

    // Every row of the journal's files, oldest file first.
    std::vector<TRowFields> Rows() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dataHome_.JournalFolder())) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        std::vector<TRowFields> rows;
        for (const fs::path& file : files) {
            std::istringstream lines(test::ReadAll(file));
            for (std::string line; std::getline(lines, line);) {
                if (const std::optional<TRowFields> row = SplitRow(line)) {
                    rows.push_back(*row);
                }
            }
        }
        return rows;
    }

    std::size_t RowCount() const {
        std::error_code error;
        return fs::exists(dataHome_.JournalFolder(), error) ? Rows().size() : 0;
    }

    std::size_t ReadingCount() const {
        std::size_t readings = 0;
        for (const TRowFields& row : Rows()) {
            readings += row.status == "ok" ? 1 : 0;
        }
        return readings;
    }

    template <class TControl>
    TControl& Control(const char* name) {
        auto* control = program_->JournalWindow().findChild<TControl*>(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    void SetThreshold(const char* text) {
        Control<QLineEdit>("LE_Threshold").setText(QString::fromUtf8(text));
        Control<QPushButton>("BtnThreshold").click();
    }

    // The program's settings file, named for this test's executable.
    static std::string SettingsFileText() { return test::ReadAll(ProgramSettingsFile().path); }

    TTempDataHome dataHome_;
    std::unique_ptr<test::TChildProcess> simulator_;
    std::unique_ptr<TProgram> program_;
};

TEST_F(JournalEndToEnd, EachPollCycleIsARowOfWhatTheDetectorAnswered) {
    StartProgram();
    // When each cycle's row was written, as the detector tells it.
    test::TDetectorEventTimes<system_clock> rowTimes(
        [](const TDetectorEvent& event) { return std::holds_alternative<TRowEvent>(event); });
    program_->Detector().AddObserver(rowTimes);
    ASSERT_NO_FATAL_FAILURE(StartSimulator());
    // A row is in the file a moment before the detector tells of it.
    ASSERT_TRUE(test::WaitUntil([&] { return rowTimes.Times().size() >= 3; }, 15s))
        << simulator_->Output();
    program_->Detector().RemoveObserver(rowTimes);
    const std::vector<system_clock::time_point> cycleEnds = rowTimes.Times();

    const std::vector<TRowFields> rows = Rows();
    const fs::path file =
        dataHome_.JournalFolder() / JournalFileName(LocalTimeAt(system_clock::now()));
    EXPECT_TRUE(test::ReadAll(file).starts_with(kJournalHeader)) << file;
    ASSERT_GE(cycleEnds.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const TRowFields& row = rows[i];
        EXPECT_EQ(row.status, i == 0 ? "identified" : "ok") << i;
        EXPECT_EQ(row.dose, i == 0 ? "" : "0.123") << i;
        EXPECT_EQ(row.detector, "7.3.12") << i;
        EXPECT_EQ(row.alarm, "0") << i;
        // The row's time is taken within its own poll cycle.
        EXPECT_LE(row.time, cycleEnds[i]) << i;
        EXPECT_GT(row.time, cycleEnds[i] - 3s) << i;
        if (i > 0) {
            EXPECT_GT(row.time - rows[i - 1].time, 2500ms) << i;
            EXPECT_LT(row.time - rows[i - 1].time, 3500ms) << i;
        }
    }
}

TEST_F(JournalEndToEnd, CyclesWithoutADetectorAreNoReplyRowsWithoutADose) {
    StartProgram(300ms);
    ASSERT_TRUE(test::WaitUntil([&] { return RowCount() >= 3; }, 15s));
    for (const TRowFields& row : Rows()) {
        EXPECT_EQ(row.status, "no_reply");
        EXPECT_EQ(row.dose, "");
        EXPECT_EQ(row.detector, "");
        EXPECT_EQ(row.alarm, "0");
    }
}

TEST_F(JournalEndToEnd, AlarmSetInTheJournalWindowTurnsTheDigitsRedAndBackAfterTwoReadings) {
    StartProgram(300ms);
    ASSERT_NO_FATAL_FAILURE(StartSimulator());
    TFace& face = program_->MainWindow();
    // The first activation loads the settings file and writes it back.
    face.FormActivate();
    ASSERT_TRUE(test::WaitUntil([&] {
        return face.Core().DoseText() != face_design::kDosePlaceholder && ReadingCount() > 0;
    })) << simulator_->Output();
    const std::string connectionSection = SectionText(SettingsFileText(), "TTrelanADCFace");
    ASSERT_FALSE(connectionSection.empty()) << SettingsFileText();

    program_->Events().NJournalClick();
    ASSERT_TRUE(program_->JournalWindow().isVisible());
    // Typed as a person types it: new rows meanwhile leave the text alone.
    auto& threshold = Control<QLineEdit>("LE_Threshold");
    QTest::keyClicks(&threshold, "0,1");
    const std::size_t readingsTyping = ReadingCount();
    ASSERT_TRUE(test::WaitUntil([&] { return ReadingCount() > readingsTyping; }));
    EXPECT_EQ(threshold.text().toStdString(), "0,1");
    Control<QPushButton>("BtnThreshold").click();
    EXPECT_EQ(threshold.text().toStdString(), "0.1");
    const std::size_t readingsBeforeOn = ReadingCount();
    Control<QCheckBox>("cbAlarmOn").click();
    ASSERT_TRUE(test::WaitUntil([&] { return PixelsOf(face.LabelDose(), kRed) > 0; }));
    EXPECT_GE(ReadingCount() - readingsBeforeOn, 2u);
    EXPECT_LE(ReadingCount() - readingsBeforeOn, 3u);
    EXPECT_EQ(Rows().back().alarm, "1");

    SetThreshold("1");
    const std::size_t readingsBeforeOff = ReadingCount();
    ASSERT_TRUE(test::WaitUntil([&] { return PixelsOf(face.LabelDose(), kRed) == 0; }));
    EXPECT_GT(
        PixelsOf(face.LabelDose(), face.LabelDose().palette().color(QPalette::WindowText).rgb()),
        0);
    EXPECT_GE(ReadingCount() - readingsBeforeOff, 2u);
    EXPECT_LE(ReadingCount() - readingsBeforeOff, 3u);
    // While on, each row says so; the row of the reading that ends it not.
    const std::vector<TRowFields> rows = Rows();
    std::vector<std::string> alarmColumn;
    for (std::size_t i = rows.size() - (ReadingCount() - readingsBeforeOff); i < rows.size(); ++i) {
        alarmColumn.push_back(rows[i].alarm);
    }
    EXPECT_EQ(alarmColumn.front(), "1");
    EXPECT_EQ(alarmColumn.back(), "0");

    const std::string ini = SettingsFileText();
    EXPECT_EQ(SectionText(ini, "TTrelanADCFace"), connectionSection);
    EXPECT_EQ(SectionText(ini, "DoseAlarm"),
              "[DoseAlarm]\r\nEnabled=True\r\nThreshold=1\r\nSound=True\r\n")
        << ini;
}

// Enter in the threshold field applies it; elsewhere Enter does what the
// focused control does: a push button is pressed, a check box is left.
TEST_F(JournalEndToEnd, EnterAppliesTheThresholdOnlyInItsFieldOrOnItsButton) {
    StartProgram();
    program_->Events().NJournalClick();
    auto& threshold = Control<QLineEdit>("LE_Threshold");
    const auto pressEnterOn = [&](QWidget& control, const char* text) {
        threshold.setText(QString::fromUtf8(text));
        control.setFocus();
        QTest::keyClick(&control, Qt::Key_Return);
        return ReadProfileString(ProgramSettingsFile().path, "DoseAlarm", "Threshold", "");
    };
    EXPECT_EQ(pressEnterOn(threshold, "0,5"), "0.5");
    EXPECT_EQ(pressEnterOn(Control<QCheckBox>("cbAlarmOn"), "0,6"), "0.5");
    EXPECT_FALSE(Control<QCheckBox>("cbAlarmOn").isChecked());
    EXPECT_EQ(pressEnterOn(Control<QPushButton>("BtnThreshold"), "0,7"), "0.7");
}

TEST_F(JournalEndToEnd, ThirtyDaysOfRowsShowAsBarsWithTheDamagedLinesCounted) {
    TJournalMakerOptions options;
    options.end = system_clock::now();
    options.alarmThreshold = 0.3;
    const TMadeJournal made = MakeJournal(dataHome_.JournalFolder(), options);
    ASSERT_GT(made.rows, 860'000u);
    StartProgram();
    TJournalWindow& window = program_->JournalWindow();
    program_->Events().NJournalClick();
    SetThreshold("0.3");
    Control<QCheckBox>("cbAlarmOn").click();

    QElapsedTimer clock;
    clock.start();
    Control<QRadioButton>("rbPeriod3").click();
    EXPECT_LT(clock.elapsed(), 5000) << "ms to show 30 days";

    const std::string summary = Control<QLabel>("LabelSummary").text().toStdString();
    EXPECT_NE(
        summary.find("Пропущено повреждённых строк журнала: " + std::to_string(made.damagedLines)),
        std::string::npos)
        << summary;
    auto& chart = Control<QWidget>("PaintBoxChart");
    // Bars stand in most of the plot's 552 columns; the threshold's dashed
    // line crosses it.
    EXPECT_GT(PixelsOf(chart, kBarInk), 5000);
    EXPECT_GT(PixelsOf(chart, kRed), 100);
    // For a look at it: the test's folder in the build tree.
    EXPECT_TRUE(window.grab().save("journal-window-30-days.png"));
}

}  // namespace
}  // namespace ornet5
