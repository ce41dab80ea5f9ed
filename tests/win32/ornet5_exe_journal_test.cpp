// ORNET5.exe's dose journal and alarm end to end under Wine: the rows it
// appends against the simulator on COM3 (win32_run_with_sim.sh, word FC7B,
// 0.123 µSv/h), the alarm set in the journal window and seen in the main
// window's digits, and the chart over a month of rows that the test writes.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "tests/win32/running_program.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using namespace test;
namespace fs = std::filesystem;

const COLORREF kRed = RGB(255, 0, 0);
// The chart's columns (minimum to maximum of their readings).
const COLORREF kBarColour = RGB(0x9f, 0xc5, 0xe8);
constexpr double kSimulatedDose = 0.123;
constexpr std::int64_t kCycleMs = 3000;

fs::path JournalFolder() {
    return LocalDataFolder() / "journal";
}

std::int64_t NowMs() {
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// "2026-12-08T14:03:21.482+03:00" as UTC milliseconds.
std::optional<std::int64_t> ParseTime(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0, oh = 0, om = 0;
    char sign = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%3d%c%2d:%2d", &y, &mo, &d, &h, &mi, &s,
                    &ms, &sign, &oh, &om) != 10) {
        return std::nullopt;
    }
    const sys_days day = year{y} / mo / d;
    const auto offset = (sign == '-' ? -1 : 1) * (hours{oh} + minutes{om});
    const auto local = day + hours{h} + minutes{mi} + seconds{s} + milliseconds{ms};
    return duration_cast<milliseconds>((local - offset).time_since_epoch()).count();
}

// The UTC text of a moment, as a journal row writes it.
std::string TimeText(std::int64_t utcMs) {
    const sys_time<milliseconds> moment{milliseconds{utcMs}};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> time{moment - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03d+00:00",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()),
                  static_cast<int>(time.subseconds().count()));
    return text;
}

struct TRow {
    std::string timeText;
    std::int64_t utcMs = 0;
    std::string dose;
    std::string status;
    std::string detector;
    bool alarm = false;
};

// Every row of the journal's files, in the order written.
std::vector<TRow> JournalRows() {
    std::vector<TRow> rows;
    for (const auto& entry : fs::directory_iterator(JournalFolder())) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> fields(1);
            for (const char c : line) {
                if (c == ',') {
                    fields.emplace_back();
                } else if (c != '\r') {
                    fields.back().push_back(c);
                }
            }
            const std::optional<std::int64_t> utcMs = ParseTime(fields[0]);
            if (fields.size() == 5 && utcMs) {
                rows.push_back(
                    {fields[0], *utcMs, fields[1], fields[2], fields[3], fields[4] == "1"});
            }
        }
    }
    return rows;
}

// The simulator's log names each request with its local time of day.
struct TRequest {
    std::int64_t dayMs = 0;
    bool identify = false;
};

std::int64_t DayMs(int h, int m, int s, int ms) {
    return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

std::vector<TRequest> SimulatorRequests() {
    std::ifstream in(fs::path(WindowsPath(std::getenv("ORNET5_SIM_LOG"))));
    std::vector<TRequest> requests;
    std::string line;
    while (std::getline(in, line)) {
        int h = 0, m = 0, s = 0, ms = 0;
        if (line.find(" request: ") != std::string::npos &&
            std::sscanf(line.c_str(), "%2d:%2d:%2d.%3d", &h, &m, &s, &ms) == 4) {
            requests.push_back({DayMs(h, m, s, ms), line.find("identify") != std::string::npos});
        }
    }
    return requests;
}

// The last request before the row's local time of day, less than a cycle
// before it: the poll that the row records.
const TRequest* PollOf(const TRow& row, const std::vector<TRequest>& requests) {
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(row.timeText.c_str() + 11, "%2d:%2d:%2d.%3d", &h, &m, &s, &ms);
    const std::int64_t rowMs = DayMs(h, m, s, ms);
    const TRequest* poll = nullptr;
    for (const TRequest& request : requests) {
        const std::int64_t before = (rowMs - request.dayMs + 86'400'000) % 86'400'000;
        if (before < kCycleMs && (poll == nullptr || request.dayMs > poll->dayMs)) {
            poll = &request;
        }
    }
    return poll;
}

// Readings recorded after a setting was applied, up to and including the
// first whose row shows the alarm in the given state; 0 if none does. The
// setting took effect between `posted` and `seen`.
struct TAlarmChange {
    int readings = 0;
    // A reading lies between the two: it may have come before the setting.
    bool uncertain = false;
};

TAlarmChange ReadingsUntilAlarm(const std::vector<TRow>& rows, bool state, std::int64_t posted,
                                std::int64_t seen) {
    TAlarmChange change;
    for (const TRow& row : rows) {
        if (row.status != "ok" || row.utcMs <= posted) {
            continue;
        }
        change.uncertain = change.uncertain || row.utcMs <= seen;
        ++change.readings;
        if (row.alarm == state) {
            return change;
        }
    }
    return {};
}

HWND Control(HWND window, int id) {
    return ::GetDlgItem(window, id);
}

bool Checked(HWND window, int id) {
    return ::SendMessageW(Control(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Typed as the keyboard would, after the program's pending messages.
void Type(HWND edit, const std::wstring& text) {
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t c : text) {
        ::PostMessageW(edit, WM_CHAR, c, 1);
    }
}

// Enter as the keyboard gives it to the focused control.
void PostEnter(HWND control) {
    ::PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageW(control, WM_KEYUP, VK_RETURN, 0xC01C0001);
}

void PostClick(HWND window, int id) {
    ::PostMessageW(Control(window, id), BM_CLICK, 0, 0);
}

struct TDoseInk {
    int red = 0;
    int normal = 0;
};

TDoseInk DoseInk(HWND face) {
    const TScreenShot shot = ShotOf(Control(face, kIdLabelDose));
    return {shot.Count(kRed), shot.Count(::GetSysColor(COLOR_WINDOWTEXT))};
}

// The journal window through the main window's popup entry, placed below
// the main window: without a window manager both would open at the
// screen's corner, and the main window stays on top.
HWND OpenJournalWindow(const TRunningProgram& program) {
    ::PostMessageW(program.face, WM_COMMAND, kCommandJournal, 0);
    HWND journal = nullptr;
    WaitFor(
        [&] {
            journal = ::FindWindowW(L"TJournalForm", L"Журнал доз");
            return journal != nullptr && ::IsWindowVisible(journal);
        },
        10s);
    RECT face{};
    ::GetWindowRect(program.face, &face);
    ::SetWindowPos(journal, nullptr, face.left, face.bottom + 8, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return journal;
}

class Ornet5ExeJournal : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("ORNET5_SIM_LOG") == nullptr) {
            GTEST_SKIP() << "needs ornet5-sim: run through win32_run_with_sim.sh";
        }
        ::DeleteFileW(SettingsFile().c_str());
        fs::remove_all(JournalFolder());
    }
};

TEST_F(Ornet5ExeJournal, RowsRecordEachPollAndTheAlarmTurnsTheDigitsRed) {
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    ASSERT_EQ(program.FirstDose(), "0,12");
    HWND journal = OpenJournalWindow(program);
    ASSERT_NE(journal, nullptr) << "no journal window";

    // A threshold below the dose through the button, typed while a new
    // row arrives; the alarm switched on and its sound off through the
    // check boxes.
    HWND threshold = Control(journal, kIdThreshold);
    Type(threshold, L"0,1");
    HWND status = Control(program.settings, kIdStatusBar);
    const std::string lastReading = Text(status);
    ASSERT_TRUE(WaitFor([&] { return Text(status) != lastReading; }, 10s));
    EXPECT_EQ(Text(threshold), "0,1");
    PostClick(journal, kIdThresholdButton);
    PostClick(journal, kIdAlarmSound);
    const std::int64_t enablePosted = NowMs();
    PostClick(journal, kIdAlarmOn);
    HWND state = Control(journal, kIdAlarmState);
    ASSERT_TRUE(WaitFor([&] { return Text(state) == "Мощность дозы ниже порога"; }, 5s))
        << Text(state);
    const std::int64_t enableSeen = NowMs();
    EXPECT_TRUE(Checked(journal, kIdAlarmOn));
    EXPECT_FALSE(Checked(journal, kIdAlarmSound));
    EXPECT_EQ(Text(threshold), "0,1");
    EXPECT_EQ(Text(Control(journal, kIdThresholdLabel)), "Порог, мкЗв/ч:");

    EXPECT_TRUE(WaitFor([&] { return DoseInk(program.face).red > 100; }, 10s));
    EXPECT_EQ(DoseInk(program.face).normal, 0);
    EXPECT_EQ(Text(state), "Превышен порог мощности дозы!");

    // Enter on the alarm's check box, which has had the focus since its
    // click, leaves the threshold as typed: the next letter lands behind it.
    Type(threshold, L"1,0");
    PostEnter(Control(journal, kIdAlarmOn));
    ::PostMessageW(threshold, WM_CHAR, L'5', 1);
    EXPECT_TRUE(WaitFor([&] { return Text(threshold) == "1,05"; }, 5s)) << Text(threshold);

    // A threshold above the dose, applied by Enter in its field, clicked
    // into first: the alarm goes off only after two readings below it.
    Type(threshold, L"1,0");
    ::PostMessageW(threshold, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(threshold, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const std::int64_t raisePosted = NowMs();
    PostEnter(threshold);
    ASSERT_TRUE(WaitFor([&] { return Text(threshold) == "1"; }, 5s))
        << "Enter did not apply the threshold: " << Text(threshold);
    const std::int64_t raiseSeen = NowMs();
    EXPECT_GT(DoseInk(program.face).red, 100);
    EXPECT_TRUE(WaitFor([&] { return DoseInk(program.face).normal > 100; }, 10s));
    EXPECT_EQ(DoseInk(program.face).red, 0);
    EXPECT_EQ(Text(state), "Мощность дозы ниже порога");
    EXPECT_EQ(program.Close(), 0u);

    const std::vector<TRow> rows = JournalRows();
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0].status, "identified");
    EXPECT_EQ(rows[0].dose, "");
    const std::vector<TRequest> requests = SimulatorRequests();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TRow& row = rows[i];
        SCOPED_TRACE(row.timeText);
        EXPECT_EQ(row.detector, "4.2.31");
        if (i > 0) {
            EXPECT_EQ(row.status, "ok");
            EXPECT_NEAR(std::stod(row.dose), kSimulatedDose, 1e-12);
            const std::int64_t gap = row.utcMs - rows[i - 1].utcMs;
            EXPECT_GT(gap, kCycleMs - 500);
            EXPECT_LT(gap, kCycleMs + 1500);
        }
        const TRequest* poll = PollOf(row, requests);
        ASSERT_NE(poll, nullptr) << "no poll within a cycle before the row";
        EXPECT_EQ(poll->identify, row.status == "identified");
    }
    const TAlarmChange on = ReadingsUntilAlarm(rows, true, enablePosted, enableSeen);
    EXPECT_TRUE(on.readings == 2 || (on.uncertain && on.readings == 3)) << on.readings;
    const TAlarmChange off = ReadingsUntilAlarm(rows, false, raisePosted, raiseSeen);
    EXPECT_TRUE(off.readings == 2 || (off.uncertain && off.readings == 3)) << off.readings;
}

// A month of rows every 30 s up to two days ago: a daily wave of 0.07 to
// 0.13 µSv/h with up to 0.03 of noise, every 97th cycle silent, and eight
// lines that are no rows: torn, foreign, a second header, bad numbers.
// Files by UTC month, each with its header. Returns the lines that are no
// rows.
int WriteGeneratedMonth(std::int64_t nowMs) {
    const std::int64_t first = nowMs - 30 * 86'400'000LL + 3'600'000;
    const std::int64_t last = nowMs - 2 * 86'400'000LL;
    const std::vector<std::string> damaged = {
        TimeText(first + 86'400'000) + ",0.1",
        TimeText(first + 5 * 86'400'000LL) + ",0.12,o",
        TimeText(first + 9 * 86'400'000LL).substr(0, 17),
        "Экспорт другой программы",
        ";;;",
        "time,dose_uSv_h,status,detector,alarm",
        TimeText(first + 12 * 86'400'000LL) + ",abc,ok,4.2.31,0",
        TimeText(first + 20 * 86'400'000LL) + ",-0.1,ok,4.2.31,0",
    };
    fs::create_directories(JournalFolder());
    std::ofstream out;
    std::string month;
    int row = 0;
    for (std::int64_t t = first; t <= last; t += 30'000, ++row) {
        const std::string text = TimeText(t);
        if (text.substr(0, 7) != month) {
            month = text.substr(0, 7);
            out.close();
            out.open(JournalFolder() / ("ORNET5-" + month + ".csv"), std::ios::binary);
            out << "time,dose_uSv_h,status,detector,alarm\r\n";
        }
        if (row % 10'000 == 5'000 && static_cast<std::size_t>(row / 10'000) < damaged.size()) {
            out << damaged[static_cast<std::size_t>(row / 10'000)] << "\r\n";
        }
        const double phase = 2 * 3.14159265358979 * static_cast<double>(t % 86'400'000) / 86.4e6;
        const double noise = (row * 7919 % 61 - 30) / 1000.0;
        if (row % 97 == 0) {
            out << text << ",,no_reply,,0\r\n";
        } else {
            out << text << ',' << 0.10 + 0.03 * std::sin(phase) + noise << ",ok,4.2.31,0\r\n";
        }
    }
    return static_cast<int>(damaged.size());
}

// Bars of the chart's left half, where only the generated rows can be.
int OldBars(HWND journal) {
    const TScreenShot chart = ShotOf(Control(journal, kIdChart));
    return chart.Count(kBarColour, 0, chart.width / 2);
}

TEST_F(Ornet5ExeJournal, TheChartShowsAMonthOfRowsAndCountsTheDamagedLines) {
    const int damaged = WriteGeneratedMonth(NowMs());
    TRunningProgram program;
    ASSERT_NE(program.face, nullptr);
    HWND journal = OpenJournalWindow(program);
    ASSERT_NE(journal, nullptr) << "no journal window";
    // The last 24 hours, where the generated rows end: no old bars.
    EXPECT_TRUE(Checked(journal, kIdPeriodFirst + 1));
    EXPECT_EQ(OldBars(journal), 0);

    Type(Control(journal, kIdThreshold), L"0,13");
    PostClick(journal, kIdThresholdButton);
    PostClick(journal, kIdAlarmOn);
    PostClick(journal, kIdPeriodFirst + 3);
    EXPECT_TRUE(WaitFor([&] { return OldBars(journal) > 2000; }, 10s)) << OldBars(journal);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Checked(journal, kIdPeriodFirst + i), i == 3) << i;
    }
    // The threshold's dashed line across the chart.
    EXPECT_GT(ShotOf(Control(journal, kIdChart)).Count(kRed), 100);
    const std::string summary = Text(Control(journal, kIdSummary));
    EXPECT_NE(summary.find("Пропущено повреждённых строк журнала: " + std::to_string(damaged)),
              std::string::npos)
        << summary;
    // Beside the test program in the build folder; the README shows it as
    // docs/windows-journal-window.png.
    EXPECT_TRUE(ShotOf(journal).SaveBmp("windows-journal-window.bmp"));
    EXPECT_EQ(program.Close(), 0u);
}

}  // namespace
}  // namespace ornet5
