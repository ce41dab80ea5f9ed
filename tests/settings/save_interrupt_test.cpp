#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "settings/atomic_file.h"
#include "settings/form_storage.h"
#include "settings/ini_text.h"
#include "tests/settings/fake_stored_form.h"
#include "tests/settings/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOther = "[Other]\r\nKeep=me\r\n\r\n";
constexpr std::string_view kKeys[] = {"FormVersion",
                                      "Flags",
                                      "ShowCmd",
                                      "PixelsPerInch",
                                      "MinMaxPos(1024x768)",
                                      "MinMaxPos",
                                      "NormPos(1024x768)",
                                      "NormPos",
                                      "Visible",
                                      "CB_ComPort_Speed_ItemIndex",
                                      "CB_ComPort_ItemIndex",
                                      "rbRentgen_Checked",
                                      "rbZv_Checked"};

// Shows the window once, then saves with changing choices until killed.
[[noreturn]] void SaveForever(const fs::path& file) {
    test::TFakeForm form;
    TFormStorage storage(form, {file, "ORNET5.INI"});
    storage.SetOptions({TPlacementOption::Position});
    storage.SetStoredProps({"CB_ComPort_Speed.ItemIndex", "CB_ComPort.ItemIndex",
                            "rbRentgen.Checked", "rbZv.Checked"});
    storage.Loaded({});
    storage.FormShow();
    form.visible = true;
    for (int i = 0;; ++i) {
        form.Control("CB_ComPort").itemIndex = i % 4;
        form.Control("CB_ComPort_Speed").itemIndex = i % 5;
        form.placement.normalPosition.left = i;
        storage.SaveSettings();
    }
}

void ExpectCompleteFile(const std::string& content, int round) {
    ASSERT_FALSE(content.empty()) << round;
    EXPECT_EQ(content.substr(0, kOther.size()), kOther) << round;
    for (const std::string_view key : kKeys) {
        const auto value = FindProfileValue(content, "TTrelanADCFace", key);
        ASSERT_TRUE(value && !value->empty()) << key << " in round " << round;
    }
    const auto port = FindProfileValue(content, "TTrelanADCFace", "CB_ComPort_ItemIndex");
    EXPECT_TRUE(*port >= "0" && *port <= "3") << *port;
}

TEST(SettingsSaveInterrupted, AKilledSaveNeverLeavesAPartialFile) {
    test::TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    test::WriteAll(file, kOther);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayMicroseconds(200, 40000);
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SaveForever(file);
        }
        // The first round must let the first complete save finish.
        const auto delay =
            std::chrono::microseconds(delayMicroseconds(random)) +
            (round == 0 ? std::chrono::milliseconds(500) : std::chrono::milliseconds(0));
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ExpectCompleteFile(test::ReadAll(file), round);
    }
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        leftovers += entry.path().filename().string().starts_with(TemporaryFilePrefix(file));
    }
    // Kills that landed between a temporary file's creation and its rename.
    RecordProperty("leftover_temporaries", leftovers);
    EXPECT_LE(leftovers, kRounds);
}

}  // namespace
}  // namespace ornet5
